// Numbers between action values (doubles) and the value types of variables:
// typed reads and the integer conversions the actions use.
// Every conversion is defined for every double (NaN, infinities and values
// out of range included), since values come from data sources and files.
#ifndef DORNE_ACTION_VALUES_H
#define DORNE_ACTION_VALUES_H

#include "dataValue.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace dorne {

// Truncation toward zero; NaN gives 0 and values beyond the range the
// nearest end.
inline int64_t truncToInt64(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 9223372036854775808.0)
        return INT64_MAX;
    if (v <= -9223372036854775808.0)
        return INT64_MIN;
    return static_cast<int64_t>(v);
}

// The low 32 bits of truncToInt64, as a signed value.
inline int32_t truncToInt32(double v)
{
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(truncToInt64(v))));
}

// Unsigned 64-bit conversion: values from 2^63 up go through v - 2^63 with
// the top bit set; values below wrap like their signed truncation.
inline uint64_t truncToUint64(double v)
{
    const double top = 9223372036854775808.0;
    if (v >= top)
        return static_cast<uint64_t>(truncToInt64(v - top)) | (uint64_t(1) << 63);
    return static_cast<uint64_t>(truncToInt64(v));
}

// The value at storage read by its value type as a double (unsigned 64-bit
// as unsigned); texts and unknown types give 0.
inline double readTyped(const void* storage, int type)
{
    switch (type) {
    case DD_FLOAT: {
        float f;
        std::memcpy(&f, storage, sizeof f);
        return f;
    }
    case DD_DOUBLE: {
        double d;
        std::memcpy(&d, storage, sizeof d);
        return d;
    }
    case DD_CHAR: {
        int8_t i;
        std::memcpy(&i, storage, sizeof i);
        return i;
    }
    case DD_UCHAR: {
        uint8_t i;
        std::memcpy(&i, storage, sizeof i);
        return i;
    }
    case DD_SHORT: {
        int16_t i;
        std::memcpy(&i, storage, sizeof i);
        return i;
    }
    case DD_USHORT: {
        uint16_t i;
        std::memcpy(&i, storage, sizeof i);
        return i;
    }
    case DD_INT: {
        int32_t i;
        std::memcpy(&i, storage, sizeof i);
        return i;
    }
    case DD_UINT: {
        uint32_t i;
        std::memcpy(&i, storage, sizeof i);
        return i;
    }
    case DD_LONG: {
        int64_t i;
        std::memcpy(&i, storage, sizeof i);
        return static_cast<double>(i);
    }
    case DD_ULONG: {
        uint64_t i;
        std::memcpy(&i, storage, sizeof i);
        return static_cast<double>(i);
    }
    default:
        return 0;
    }
}

} // namespace dorne

#endif
