#ifndef ORLO_WIZARDPATHPAGE_H
#define ORLO_WIZARDPATHPAGE_H

#include <QByteArray>
#include <QWizardPage>

class QGridLayout;
class QLineEdit;
class QPushButton;

namespace KAVO {

// The first page of an export wizard: the output folder (typed, or chosen
// with the folder button) in row 0 and the file name in a row of the
// caller's choice. Both are written into the options at every change.
class WizardPathPage : public QWizardPage
{
    Q_OBJECT
public:
    // The texts come translated by the page that uses this one.
    WizardPathPage(QWidget* parent, QByteArray& exportDir, QByteArray& fileName, const QString& pathLabel,
                   const QString& fileLabel, const QString& chooserTitle, int fileRow);

protected:
    // Shows the folder and the file name of the options.
    void showPath();

    QGridLayout* mGrid = nullptr;

private slots:
    void slotPath(const QString& text);
    void slotFile(const QString& text);
    void slotPathSelect();

private:
    QByteArray& mExportDir;
    QByteArray& mFileName;
    QString mChooserTitle;
    bool mUpdating = false;
    QLineEdit* mPath = nullptr;
    QLineEdit* mFile = nullptr;
    QPushButton* mPathSelect = nullptr;
};

} // namespace KAVO

#endif
