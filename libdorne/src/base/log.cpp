// The engine's log: level filter, standard output and a 16 KB buffer that the
// caller fetches. One mutex serialises writers: the data threads of animated
// views and the modules log while the drawing thread does.
#include "dorneLog.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>

namespace {

const unsigned kLogSize = 16384;
const int kMessageSize = 1024;

std::atomic<int> logLevel{1};
std::mutex logMutex;
char logBuffer[kLogSize];
unsigned logFill = 0; // logBuffer[logFill] is always 0

int logFormatted(int level, const char* format, va_list args)
{
    if (level > logLevel.load(std::memory_order_relaxed) || format == nullptr)
        return 0;
    char message[kMessageSize];
    const int n = std::vsnprintf(message, sizeof message, format, args);
    if (n < 0)
        return 0;
    const unsigned length = unsigned(std::strlen(message));

    std::lock_guard<std::mutex> lock(logMutex);
    std::fputs(message, stdout);
    // Kept only whole, and never rotated: a full log drops new messages
    // until the caller fetches it.
    if (logFill + length <= kLogSize - 1) {
        std::memcpy(logBuffer + logFill, message, length);
        logFill += length;
        logBuffer[logFill] = '\0';
    }
    return 0;
}

} // namespace

int setLogLevel(int level)
{
    logLevel.store(level, std::memory_order_relaxed);
    return 0;
}

int logMsg(int level, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logFormatted(level, format, args);
    va_end(args);
    return 0;
}

int logMsgData(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    logFormatted(3, format, args);
    va_end(args);
    return 0;
}

int getLogMsg(char* buffer, int size)
{
    if (buffer == nullptr || size <= 0)
        return -1;
    std::lock_guard<std::mutex> lock(logMutex);
    std::snprintf(buffer, size_t(size), "%s", logBuffer);
    logFill = 0;
    logBuffer[0] = '\0';
    return 0;
}
