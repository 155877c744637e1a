// Console messages of the font library and their level.
#include "sartoInternal.h"

#include <cstdarg>
#include <cstdio>

namespace {

int debugLevel = 3;

struct MessageKind
{
    int colour; // terminal colour code
    const char* label;
    int minLevel; // shown when the level is at least this
};

// Indexed by FTI_INFO, FTI_WARNING, FTI_ERROR.
const MessageKind kKinds[] = {
    {32, "INFO", 3},
    {34, "WARNING", 2},
    {31, "ERROR", 1},
};

} // namespace

int ftVersion(void)
{
    return 100;
}

int ftSetDebugLevel(int level)
{
    if (level < 0 || level > 3)
        return -10;
    debugLevel = level;
    return 0;
}

int ftGetDebugLevel(void)
{
    return debugLevel;
}

void ftiMsg(int type, const char* format, ...)
{
    if (debugLevel <= 0)
        return;
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (type >= FTI_INFO && type <= FTI_ERROR && debugLevel >= kKinds[type].minLevel) {
        std::printf("\033[%dm", kKinds[type].colour);
        std::printf("libft %s -> %s", kKinds[type].label, text);
    }
    // The reset follows every call, also a filtered one.
    std::printf("\033[%dm", 0);
    std::fflush(stdout);
}
