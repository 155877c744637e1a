// Text actions: checking a format from a view file and rendering a value
// with it (see actionFormat.h).
#include "actions/actionFormat.h"

#include "data/dataValue.h"

#include <cfloat>
#include <cstdio>
#include <cstring>
#include <sys/types.h>

namespace dorne {

namespace {

// What the single conversion of a format takes.
enum class Takes { Nothing, Signed, Unsigned, Floating, Text };

// Length modifiers a conversion may carry.
enum class Length { None, Char, Short, Long, LongLong, IntMax, Size, PtrDiff, LongDouble };

struct Conversion
{
    Takes takes = Takes::Nothing;
    Length length = Length::None;
};

// Widths and precisions above this only pad what the 256-byte text cannot
// show; refusing them keeps printf from producing megabytes per frame.
const int maxField = 255;

bool isFlag(char c)
{
    return c == '-' || c == '+' || c == ' ' || c == '#' || c == '0' || c == '\'';
}

// Reads a decimal field at f[*i]; false when it exceeds maxField.
bool readField(const char* f, size_t n, size_t* i)
{
    int value = 0;
    while (*i < n && f[*i] >= '0' && f[*i] <= '9') {
        value = value * 10 + (f[*i] - '0');
        if (value > maxField)
            return false;
        ++*i;
    }
    return true;
}

Length readLength(const char* f, size_t n, size_t* i)
{
    if (*i >= n)
        return Length::None;
    const char c = f[*i];
    const bool doubled = *i + 1 < n && f[*i + 1] == c;
    switch (c) {
    case 'h':
        *i += doubled ? 2 : 1;
        return doubled ? Length::Char : Length::Short;
    case 'l':
        *i += doubled ? 2 : 1;
        return doubled ? Length::LongLong : Length::Long;
    case 'j':
        ++*i;
        return Length::IntMax;
    case 'z':
        ++*i;
        return Length::Size;
    case 't':
        ++*i;
        return Length::PtrDiff;
    case 'L':
        ++*i;
        return Length::LongDouble;
    default:
        return Length::None;
    }
}

// The one conversion of the format (n characters); Nothing when the format
// has none, more than one, or one that is not a plain numeric or text
// conversion ("%n", "%p", "%c", "%*d", "%1$d", "%m", a trailing '%', ...).
Conversion parseFormat(const char* f, size_t n)
{
    Conversion found;
    bool seen = false;
    for (size_t i = 0; i < n; ++i) {
        if (f[i] != '%')
            continue;
        ++i;
        if (i < n && f[i] == '%')
            continue;
        if (seen)
            return Conversion{};
        seen = true;
        while (i < n && isFlag(f[i]))
            ++i;
        if (!readField(f, n, &i))
            return Conversion{};
        if (i < n && f[i] == '.') {
            ++i;
            if (!readField(f, n, &i))
                return Conversion{};
        }
        const Length length = readLength(f, n, &i);
        if (i >= n)
            return Conversion{};
        switch (f[i]) {
        case 'd':
        case 'i':
            found.takes = Takes::Signed;
            break;
        case 'o':
        case 'u':
        case 'x':
        case 'X':
            found.takes = Takes::Unsigned;
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            found.takes = Takes::Floating;
            break;
        case 's':
            found.takes = Takes::Text;
            break;
        default:
            return Conversion{};
        }
        found.length = length;
        const bool integer = found.takes == Takes::Signed || found.takes == Takes::Unsigned;
        if ((integer && length == Length::LongDouble) ||
            (found.takes == Takes::Floating && length != Length::None && length != Length::Long &&
             length != Length::LongDouble) ||
            (found.takes == Takes::Text && length != Length::None))
            return Conversion{};
    }
    return found;
}

// The format as a zero-terminated string of at most formatSize bytes.
struct FormatCopy
{
    char text[256];
    size_t length;
    FormatCopy(const char* format, size_t formatSize)
    {
        length = format == nullptr ? 0 : strnlen(format, formatSize < sizeof text ? formatSize : sizeof text - 1);
        if (length > 0)
            std::memcpy(text, format, length);
        text[length] = '\0';
    }
};

int64_t asSigned(const ActionNumber& n)
{
    switch (n.kind) {
    case ActionNumber::Floating:
        return truncateInt64(n.d);
    case ActionNumber::Signed:
        return n.i;
    default:
        return static_cast<int64_t>(n.u);
    }
}

uint64_t asUnsigned(const ActionNumber& n)
{
    switch (n.kind) {
    case ActionNumber::Floating:
        return truncateUint64(n.d);
    case ActionNumber::Signed:
        return static_cast<uint64_t>(n.i);
    default:
        return n.u;
    }
}

double asDouble(const ActionNumber& n)
{
    switch (n.kind) {
    case ActionNumber::Floating:
        return n.d;
    case ActionNumber::Signed:
        return static_cast<double>(n.i);
    default:
        return static_cast<double>(n.u);
    }
}

// Double to float without overflowing the conversion.
double throughFloat(double v)
{
    if (v > FLT_MAX)
        return HUGE_VAL;
    if (v < -FLT_MAX)
        return -HUGE_VAL;
    return static_cast<float>(v);
}

} // namespace

ActionNumber reduceActionValue(int valueType, double v, const char* format, size_t formatSize)
{
    ActionNumber n;
    switch (valueType) {
    case DD_FLOAT:
        n.d = throughFloat(v);
        return n;
    case DD_DOUBLE:
        n.d = v;
        return n;
    case DD_INT:
        if (std::strchr(FormatCopy(format, formatSize).text, 'f') != nullptr) {
            n.d = throughFloat(v);
            return n;
        }
        break;
    default:
        break;
    }
    // The integer types show what a variable of the type holds for v.
    unsigned char stored[kValueStorage] = {};
    storeNumber(stored, valueType, v);
    if (valueType == DD_ULONG) {
        n.kind = ActionNumber::Unsigned;
        n.u = loadValue<uint64_t>(stored);
    } else {
        n.kind = ActionNumber::Signed;
        n.i = readInteger(stored, valueType);
    }
    return n;
}

// The format is checked by parseFormat before printf sees it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"

void formatActionNumber(char* out, size_t size, const char* format, size_t formatSize, ActionNumber n)
{
    const FormatCopy f(format, formatSize);
    const Conversion c = parseFormat(f.text, f.length);
    auto print = [&](const char* t, auto value) { std::snprintf(out, size, t, value); };
    switch (c.takes) {
    case Takes::Signed: {
        const int64_t s = asSigned(n);
        switch (c.length) {
        case Length::Long:
            return print(f.text, static_cast<long>(s));
        case Length::LongLong:
            return print(f.text, static_cast<long long>(s));
        case Length::IntMax:
            return print(f.text, static_cast<intmax_t>(s));
        case Length::Size:
            return print(f.text, static_cast<ssize_t>(s));
        case Length::PtrDiff:
            return print(f.text, static_cast<ptrdiff_t>(s));
        default: // printf narrows hh and h itself
            return print(f.text, static_cast<int>(s));
        }
    }
    case Takes::Unsigned: {
        const uint64_t u = asUnsigned(n);
        switch (c.length) {
        case Length::Long:
            return print(f.text, static_cast<unsigned long>(u));
        case Length::LongLong:
            return print(f.text, static_cast<unsigned long long>(u));
        case Length::IntMax:
            return print(f.text, static_cast<uintmax_t>(u));
        case Length::Size:
            return print(f.text, static_cast<size_t>(u));
        case Length::PtrDiff:
            return print(f.text, static_cast<ptrdiff_t>(u));
        default:
            return print(f.text, static_cast<unsigned>(u));
        }
    }
    case Takes::Floating:
        if (c.length == Length::LongDouble)
            return print(f.text, static_cast<long double>(asDouble(n)));
        return print(f.text, asDouble(n));
    default: // no usable conversion: the number alone
        if (n.kind == ActionNumber::Floating)
            return print("%g", n.d);
        if (n.kind == ActionNumber::Signed)
            return print("%lld", static_cast<long long>(n.i));
        return print("%llu", static_cast<unsigned long long>(n.u));
    }
}

void formatActionText(char* out, size_t size, const char* format, size_t formatSize, const char* text,
                      size_t textSize)
{
    const FormatCopy f(format, formatSize);
    const FormatCopy value(text, textSize);
    if (parseFormat(f.text, f.length).takes == Takes::Text)
        std::snprintf(out, size, f.text, value.text);
    else
        std::snprintf(out, size, "%s", value.text);
}

#pragma GCC diagnostic pop

} // namespace dorne
