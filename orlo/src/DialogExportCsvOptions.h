#ifndef ORLO_DIALOGEXPORTCSVOPTIONS_H
#define ORLO_DIALOGEXPORTCSVOPTIONS_H

#include <QWizardPage>

class QGridLayout;
class QPushButton;
class QTime;

namespace KAVO {

struct CsvExportOptions;
class QwtComboBox;
class WizardTimeEdit;

// Second page of the CSV wizard: separator, resolution, parameter choice
// and time window.
class DialogExportCsvOptions : public QWizardPage
{
    Q_OBJECT
public:
    DialogExportCsvOptions(QWidget* parent, CsvExportOptions& options);

    void initializePage() override;
    // Shows the window's times with their milliseconds.
    void updatePage();

private slots:
    void slotLimiter(int value);
    void slotResolution(int value);
    void slotParameter(int value);
    void slotStartTime(const QTime& time);
    void slotStopTime(const QTime& time);
    void slotCursorStart();
    void slotCursorStop();

private:
    void storeTimes();

    CsvExportOptions& mOptions;
    bool mUpdating = false;
    QGridLayout* mGrid = nullptr;
    QwtComboBox* mLimiter = nullptr;
    QwtComboBox* mResolution = nullptr;
    QwtComboBox* mParameter = nullptr;
    WizardTimeEdit* mStart = nullptr;
    WizardTimeEdit* mStop = nullptr;
    QPushButton* mCursorStart = nullptr;
    QPushButton* mCursorStop = nullptr;
};

} // namespace KAVO

#endif
