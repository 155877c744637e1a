#include "TimerClock.h"

#include <QElapsedTimer>
#include <QTimer>

namespace KAVO {

namespace {

TimerClock::Driver* gDriver = nullptr;

} // namespace

void TimerClock::setDriver(Driver* driver)
{
    gDriver = driver;
}

qint64 TimerClock::now()
{
    if (gDriver != nullptr)
        return gDriver->now();
    static const QElapsedTimer since = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return since.elapsed();
}

void TimerClock::start(QTimer* timer, int ms)
{
    if (gDriver != nullptr)
        gDriver->start(timer, ms);
    else
        timer->start(ms);
}

void TimerClock::stop(QTimer* timer)
{
    if (gDriver != nullptr)
        gDriver->stop(timer);
    else
        timer->stop();
}

} // namespace KAVO
