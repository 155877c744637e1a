#ifndef ORLO_TIMERCLOCK_H
#define ORLO_TIMERCLOCK_H

#include <QtGlobal>

class QTimer;

namespace KAVO {

// The time the windows' single-shot timers run on: they are started and
// stopped through here, and intervals between events are measured here. The
// program uses the event loop's timers and a monotonic clock; a test installs
// a driver that keeps time by hand, so that every interval is checked to the
// millisecond, at once and however loaded the machine is. GUI thread only.
class TimerClock
{
public:
    class Driver
    {
    public:
        virtual ~Driver() = default;
        // Milliseconds on a clock that never goes back.
        virtual qint64 now() const = 0;
        // (Re)starts the timer to fire once `ms` from now.
        virtual void start(QTimer* timer, int ms) = 0;
        virtual void stop(QTimer* timer) = 0;
    };

    // nullptr returns to the event loop's timers.
    static void setDriver(Driver* driver);

    static qint64 now();
    static void start(QTimer* timer, int ms);
    static void stop(QTimer* timer);
};

} // namespace KAVO

#endif
