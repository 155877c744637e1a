// Numbers between caller values and the value types of variables, for the
// exported variable setters: every conversion defined for every input
// (NaN, infinities, values out of range, texts of any length).
#ifndef DORNE_QUERY_VALUES_H
#define DORNE_QUERY_VALUES_H

#include <cfloat>
#include <cmath>
#include <cstdint>

namespace dorne {

// Truncated toward zero into 32 bits; NaN and values out of range give
// INT32_MIN.
inline int32_t checkedInt32(double v)
{
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(std::trunc(v));
}

// Truncated toward zero into 64 bits; NaN and values out of range give
// INT64_MIN.
inline int64_t checkedInt64(double v)
{
    if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0))
        return INT64_MIN;
    return static_cast<int64_t>(std::trunc(v));
}

// A double as float, held within the float range (NaN stays NaN).
inline float clampedFloat(double v)
{
    if (v > FLT_MAX)
        return FLT_MAX;
    if (v < -FLT_MAX)
        return -FLT_MAX;
    return static_cast<float>(v);
}

} // namespace dorne

#endif
