// Text actions: the value of a variable rendered with the view file's own
// printf format. The format comes from a file, so it is checked before
// printf sees it: exactly one conversion that takes the value's kind, width
// and precision as plain numbers up to 255; anything else is rendered
// safely without it. Output is always bounded by the caller's buffer.
#ifndef DORNE_ACTION_FORMAT_H
#define DORNE_ACTION_FORMAT_H

#include <cstddef>
#include <cstdint>

namespace dorne {

// A number as a text action hands it to its format.
struct ActionNumber
{
    enum Kind { Floating, Signed, Unsigned } kind = Floating;
    double d = 0;   // Floating
    int64_t i = 0;  // Signed
    uint64_t u = 0; // Unsigned
};

// The value v of a numeric variable reduced for its value type (0-9): 0 as
// float, 1 as double, 2-5 to the width of the type, 6 as float when the
// format holds the letter 'f' and as int otherwise, 7 to 32 bits, 8 and 9 to
// 64 bits. format holds at most formatSize bytes (a zero may end it sooner).
ActionNumber reduceActionValue(int valueType, double v, const char* format, size_t formatSize);

// Renders the number with the format into out (size bytes, size > 0, always
// zero-terminated). A format with exactly one numeric conversion prints the
// number converted to the type that conversion takes; any other format
// prints the number alone ("%g", or the integer in decimal).
void formatActionNumber(char* out, size_t size, const char* format, size_t formatSize, ActionNumber n);

// Renders a text (at most textSize bytes read) with a format holding exactly
// one "%s" conversion; any other format gives the text itself.
void formatActionText(char* out, size_t size, const char* format, size_t formatSize, const char* text,
                      size_t textSize);

} // namespace dorne

#endif
