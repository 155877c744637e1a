#ifndef ORLO_DIALOGDATA_H
#define ORLO_DIALOGDATA_H

#include <QTime>
#include <QWidget>

class QDoubleSpinBox;
class QGridLayout;
class QLCDNumber;
class QSlider;
class QTabWidget;
class QTimeEdit;
class QVBoxLayout;

namespace KAVO {

class DialogDataGraph;
class DialogDataLimit;
class DialogDataTable;
class Record;

// The main window's data area: the review views of the loaded recording in
// tabs over the time controls. It owns the one current time and passes
// every change of it to the views that did not report it.
class DialogData : public QWidget
{
    Q_OBJECT
public:
    explicit DialogData(QWidget* parent);

    // The current time on the recording's time axis.
    double time();
    // The graph's two marker times: the export window.
    double markStart();
    double markStop();
    // Takes a newly loaded recording (not owned).
    void updateRecord(KAVO::Record* record);
    // The parameter selection or the profile changed.
    void updateProfile();
    void loadProfile();
    // Writes the current time into the controls.
    void updateDisplay();

private slots:
    void slotSlider(int value);
    void slotValue(const QTime& time);
    void slotCursor(float t, double value);
    void slotTimeOffset(double value);
    void slotTableTime(double t);
    void slotLimitTime(double t);
    // For a warning list, should one be shown; not connected.
    void slotWarningTime(double t);

private:
    Record* mRecord = nullptr;
    double mTime = 0.0;
    bool mUpdating = false;
    QTabWidget* mTabs = nullptr;
    DialogDataTable* mTable = nullptr;
    DialogDataGraph* mGraph = nullptr;
    DialogDataLimit* mLimit = nullptr;
    QGridLayout* mGrid = nullptr;
    QLCDNumber* mDate = nullptr;
    QLCDNumber* mClock = nullptr;
    QSlider* mSlider = nullptr;
    QTimeEdit* mTimeEdit = nullptr;
    QDoubleSpinBox* mOffset = nullptr;
    QVBoxLayout* mLayout = nullptr;
    // The recording's offset the field was last set to or took from the
    // user; each new recording clears it (NaN) so that its offset is shown.
    double mOffsetShown = 0.0;
};

} // namespace KAVO

#endif
