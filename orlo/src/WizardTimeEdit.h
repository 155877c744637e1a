#ifndef ORLO_WIZARDTIMEEDIT_H
#define ORLO_WIZARDTIMEEDIT_H

#include <QTimeEdit>

#include <cstdint>

namespace KAVO {

// The time fields of the export wizards: a time in seconds shown as a time
// of day "hh:mm:ss.zzz". Recorder time counts from power-up and often
// passes a day, so the field remembers the whole days of the time it was
// given and adds them back when it is read.
class WizardTimeEdit : public QTimeEdit
{
    Q_OBJECT
public:
    explicit WizardTimeEdit(QWidget* parent);

    // Shows 00:00:00.000 plus the time's whole milliseconds (truncated).
    void setSeconds(double t);
    // The shown time of day in seconds plus the remembered whole days.
    double seconds() const;

    // A window of less than 0.01 s is taken as no window: the whole
    // recording (first to last) is proposed instead.
    static void proposeWindow(double& start, double& stop, double first, double last);
    // A time limited to the recording: before it gives its first time,
    // after it its last.
    static double limited(double t, double first, double last);

private:
    int64_t mDays = 0;
};

} // namespace KAVO

#endif
