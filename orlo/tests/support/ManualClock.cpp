#include "ManualClock.h"

#include <QMetaObject>

#include <algorithm>

namespace testsupport {

ManualClock::ManualClock()
{
    KAVO::TimerClock::setDriver(this);
}

ManualClock::~ManualClock()
{
    KAVO::TimerClock::setDriver(nullptr);
}

std::vector<ManualClock::Pending>::iterator ManualClock::find(const QTimer* timer)
{
    return std::find_if(mPending.begin(), mPending.end(), [timer](const Pending& p) { return p.timer == timer; });
}

std::vector<ManualClock::Pending>::const_iterator ManualClock::find(const QTimer* timer) const
{
    return std::find_if(mPending.begin(), mPending.end(), [timer](const Pending& p) { return p.timer == timer; });
}

void ManualClock::start(QTimer* timer, int ms)
{
    stop(timer);
    timer->setInterval(ms);
    mPending.push_back(Pending{timer, mNow + std::max(0, ms), ms});
}

void ManualClock::stop(QTimer* timer)
{
    const auto it = find(timer);
    if (it != mPending.end())
        mPending.erase(it);
}

void ManualClock::advance(qint64 ms)
{
    const qint64 end = mNow + ms;
    for (;;) {
        mPending.erase(std::remove_if(mPending.begin(), mPending.end(), [](const Pending& p) { return p.timer.isNull(); }),
                       mPending.end());
        // The earliest moment first; among equal ones, the timer started first.
        const auto next = std::min_element(mPending.begin(), mPending.end(),
                                           [](const Pending& a, const Pending& b) { return a.due < b.due; });
        if (next == mPending.end() || next->due > end)
            break;
        mNow = std::max(mNow, next->due);
        QTimer* timer = next->timer;
        if (timer->isSingleShot())
            mPending.erase(next);
        else
            next->due += std::max(1, next->interval);
        // What the event loop does when the timer's moment comes.
        QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    }
    mNow = std::max(mNow, end);
}

bool ManualClock::isPending(const QTimer* timer) const
{
    return find(timer) != mPending.end();
}

qint64 ManualClock::remaining(const QTimer* timer) const
{
    const auto it = find(timer);
    return it == mPending.end() ? -1 : it->due - mNow;
}

} // namespace testsupport
