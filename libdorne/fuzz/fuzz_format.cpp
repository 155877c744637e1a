// libFuzzer target: a text action's format as a view file carries it (64
// bytes, maybe without an end), rendered with a value of every type and with
// a text. Nothing may crash, read past the format or the text, or write
// more than the 256-byte attribute text holds.
#include "actions/actionFormat.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    double value;
    std::memcpy(&value, data, sizeof value);
    const int type = data[8] % 11;
    data += 9;
    size -= 9;
    // Exactly the bytes of the format field, so that a read beyond them is caught.
    const size_t formatSize = size < 64 ? size : 64;
    char* format = static_cast<char*>(std::malloc(formatSize + 1));
    std::memcpy(format, data, formatSize);
    char* text = static_cast<char*>(std::malloc(size - formatSize + 1));
    std::memcpy(text, data + formatSize, size - formatSize);

    char out[256];
    std::memset(out, 0x55, sizeof out);
    if (type == 10)
        dorne::formatActionText(out, sizeof out, format, formatSize, text, size - formatSize);
    else
        dorne::formatActionNumber(out, sizeof out, format, formatSize,
                                  dorne::reduceActionValue(type, value, format, formatSize));
    if (std::memchr(out, '\0', sizeof out) == nullptr)
        std::abort();
    std::free(format);
    std::free(text);
    return 0;
}
