#ifndef ORLO_TIMER_H
#define ORLO_TIMER_H

#include <string>

namespace KAVO {

// A named stopwatch: it prints how long it lived when it goes out of scope.
class Timer
{
public:
    explicit Timer(const std::string& name);
    ~Timer();

    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // Seconds with microsecond resolution.
    static double now();

private:
    double mStart = 0.0;
    double mStop = 0.0;
    std::string mName;
};

} // namespace KAVO

#endif
