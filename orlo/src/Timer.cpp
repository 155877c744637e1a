#include "Timer.h"

#include <sys/time.h>

#include <iostream>

namespace KAVO {

double Timer::now()
{
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    return double(tv.tv_sec) + double(tv.tv_usec) * 1e-6;
}

Timer::Timer(const std::string& name)
    : mStart(now())
    , mName(name)
{
}

Timer::~Timer()
{
    mStop = now();
    std::cout << mName << " : " << (mStop - mStart) * 1000.0 << " ms\n";
    std::cout.flush();
}

} // namespace KAVO
