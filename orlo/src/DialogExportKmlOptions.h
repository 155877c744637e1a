#ifndef ORLO_DIALOGEXPORTKMLOPTIONS_H
#define ORLO_DIALOGEXPORTKMLOPTIONS_H

#include <QWizardPage>

class QGridLayout;
class QGroupBox;
class QPushButton;
class QSpinBox;
class QTime;

namespace KAVO {

struct KmlExportOptions;
class WizardColorButton;
class WizardTimeEdit;

// Second page of the KML wizard: track time step, line and polygon style
// and the time window.
class DialogExportKmlOptions : public QWizardPage
{
    Q_OBJECT
public:
    DialogExportKmlOptions(QWidget* parent, KmlExportOptions& options);

    void initializePage() override;
    // Shows the window's times in whole seconds.
    void updatePage();

private slots:
    void slotTimestamp(int value);
    void slotLineWidth(int value);
    void slotLineColor();
    void slotPolygon(bool on);
    void slotPolygonColor();
    void slotStartTime(const QTime& time);
    void slotStopTime(const QTime& time);
    void slotCursorStart();
    void slotCursorStop();

private:
    void storeTimes();

    KmlExportOptions& mOptions;
    bool mUpdating = false;
    QGridLayout* mGrid = nullptr;
    QSpinBox* mTimeStamp = nullptr;
    QSpinBox* mLineWidth = nullptr;
    WizardColorButton* mLineColor = nullptr;
    QGroupBox* mPolygon = nullptr;
    WizardColorButton* mPolygonColor = nullptr;
    WizardTimeEdit* mStart = nullptr;
    WizardTimeEdit* mStop = nullptr;
    QPushButton* mCursorStart = nullptr;
    QPushButton* mCursorStop = nullptr;
};

} // namespace KAVO

#endif
