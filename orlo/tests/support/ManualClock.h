#ifndef ORLO_MANUALCLOCK_H
#define ORLO_MANUALCLOCK_H

#include "TimerClock.h"

#include <QPointer>
#include <QTimer>

#include <vector>

namespace testsupport {

// Time kept by hand for the windows' timers: while it lives, timers started
// through KAVO::TimerClock fire only when advance() passes their moment,
// in the order of their moments, with now() at that moment.
class ManualClock : public KAVO::TimerClock::Driver
{
public:
    ManualClock();
    ~ManualClock() override;
    ManualClock(const ManualClock&) = delete;
    ManualClock& operator=(const ManualClock&) = delete;

    // Every look at the clock finds it `step` later: a program that takes
    // time between its looks (timers fire only in advance()).
    qint64 now() const override { return mNow += mStep; }
    void setStep(qint64 step) { mStep = step; }
    void start(QTimer* timer, int ms) override;
    void stop(QTimer* timer) override;

    // Moves time on by `ms`, firing every timer that falls due meanwhile.
    void advance(qint64 ms);
    bool isPending(const QTimer* timer) const;
    // Milliseconds until the timer fires; -1 when it is not running.
    qint64 remaining(const QTimer* timer) const;

private:
    struct Pending
    {
        QPointer<QTimer> timer;
        qint64 due;
        int interval;
    };
    std::vector<Pending>::iterator find(const QTimer* timer);
    std::vector<Pending>::const_iterator find(const QTimer* timer) const;

    mutable qint64 mNow = 1000000;
    qint64 mStep = 0;
    std::vector<Pending> mPending;
};

} // namespace testsupport

#endif
