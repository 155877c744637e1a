// What the expression engine shares inside the library: the truncations of
// doubles to integers that its bit operators and the calculator's stores use.
#ifndef DORNE_EXPRESSION_INTERNAL_H
#define DORNE_EXPRESSION_INTERNAL_H

#include <cstdint>

namespace dorne {

// Toward zero; NaN and values outside the range give the smallest integer
// (a plain conversion would be undefined there).
inline int32_t truncateInt32(double v)
{
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return INT32_MIN;
    return int32_t(v);
}

inline int64_t truncateInt64(double v)
{
    // -2^63 itself is representable; 2^63 is the first value above the range.
    if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0))
        return INT64_MIN;
    return int64_t(v);
}

} // namespace dorne

#endif
