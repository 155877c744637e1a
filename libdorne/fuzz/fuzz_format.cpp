// libFuzzer target: a text action's format as a view file carries it (64
// bytes, maybe without an end), rendered with a value of every type and with
// a text. Nothing may crash, read past the format or the text, or write
// more than the 256-byte attribute text holds, and the output must be what a
// plain snprintf gives: with the format itself when it is one this target's
// own checker accepts (exactly one conversion that takes the value, width
// and precision up to 255), else with the value alone.
#include "actions/actionFormat.h"
#include "data/dataValue.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>

namespace {

// What an accepted format's one conversion is.
struct Checked
{
    bool ok = false;
    char conversion = 0;
    std::string length;
};

// A decimal field of at most 255 (leading zeros allowed).
bool smallField(const std::string& digits)
{
    unsigned value = 0;
    for (char c : digits) {
        value = value * 10 + unsigned(c - '0');
        if (value > 255)
            return false;
    }
    return true;
}

// The format as one pattern: text and "%%" around exactly one conversion of
// flags, width, precision, length and a numeric or text conversion letter.
Checked check(const std::string& format)
{
    static const std::regex pattern(R"(^(?:[^%]|%%)*%[-+ #0']*([0-9]*)(?:\.([0-9]*))?(hh|h|ll|l|j|z|t|L)?)"
                                    R"(([diouxXfFeEgGaAs])(?:[^%]|%%)*$)");
    std::smatch m;
    Checked c;
    if (!std::regex_match(format, m, pattern) || !smallField(m[1].str()) || !smallField(m[2].str()))
        return c;
    c.conversion = m[4].str()[0];
    c.length = m[3].str();
    const bool floating = std::strchr("fFeEgGaA", c.conversion) != nullptr;
    if (c.conversion == 's' && !c.length.empty())
        return c;
    if (floating && !(c.length.empty() || c.length == "l" || c.length == "L"))
        return c;
    if (!floating && c.length == "L")
        return c;
    c.ok = true;
    return c;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"

template <typename T>
std::string print(const char* format, T value)
{
    char out[256];
    std::snprintf(out, sizeof out, format, value);
    return out;
}

// The expected rendering of a number.
std::string expectNumber(const std::string& format, const dorne::ActionNumber& n)
{
    const Checked c = check(format);
    const double d = n.kind == dorne::ActionNumber::Floating ? n.d
                     : n.kind == dorne::ActionNumber::Signed ? double(n.i)
                                                             : double(n.u);
    const uint64_t bits = n.kind == dorne::ActionNumber::Floating ? dorne::truncateUint64(n.d)
                          : n.kind == dorne::ActionNumber::Signed ? uint64_t(n.i)
                                                                  : n.u;
    if (c.ok && c.conversion != 's') {
        const bool wide = !c.length.empty() && c.length != "h" && c.length != "hh";
        if (std::strchr("fFeEgGaA", c.conversion) != nullptr)
            return c.length == "L" ? print(format.c_str(), (long double)d) : print(format.c_str(), d);
        // A signed conversion of a floating value takes its signed truncation.
        const bool signedConversion = c.conversion == 'd' || c.conversion == 'i';
        const uint64_t v = signedConversion && n.kind == dorne::ActionNumber::Floating
                               ? uint64_t(dorne::truncateInt64(n.d))
                               : bits;
        if (signedConversion)
            return wide ? print(format.c_str(), (long long)v) : print(format.c_str(), int(uint32_t(v)));
        return wide ? print(format.c_str(), (unsigned long long)v) : print(format.c_str(), unsigned(v));
    }
    if (n.kind == dorne::ActionNumber::Floating)
        return print("%g", n.d);
    if (n.kind == dorne::ActionNumber::Signed)
        return print("%lld", (long long)n.i);
    return print("%llu", (unsigned long long)n.u);
}

std::string expectText(const std::string& format, const std::string& text)
{
    const Checked c = check(format);
    return print(c.ok && c.conversion == 's' ? format.c_str() : "%s", text.c_str());
}

#pragma GCC diagnostic pop

// Up to the first zero, at most 255 bytes: as a text field of that size.
std::string field(const char* bytes, size_t size)
{
    return std::string(bytes, strnlen(bytes, size < 255 ? size : 255));
}

} // namespace

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
    std::string expected;
    if (type == 10) {
        dorne::formatActionText(out, sizeof out, format, formatSize, text, size - formatSize);
        expected = expectText(field(format, formatSize), field(text, size - formatSize));
    } else {
        const dorne::ActionNumber n = dorne::reduceActionValue(type, value, format, formatSize);
        dorne::formatActionNumber(out, sizeof out, format, formatSize, n);
        expected = expectNumber(field(format, formatSize), n);
    }
    if (std::memchr(out, '\0', sizeof out) == nullptr)
        std::abort();
    if (expected != out) {
        std::fprintf(stderr, "format <%s>: <%s>, expected <%s>\n", field(format, formatSize).c_str(), out,
                     expected.c_str());
        std::abort();
    }
    std::free(format);
    std::free(text);
    return 0;
}
