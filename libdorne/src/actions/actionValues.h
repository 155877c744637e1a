// Numbers between action values (doubles) and the value types of variables:
// typed reads and the integer conversions the actions use.
// Every conversion is defined for every double (NaN, infinities and values
// out of range included), since values come from data sources and files.
#ifndef DORNE_ACTION_VALUES_H
#define DORNE_ACTION_VALUES_H

#include "data/dataValue.h"

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

template <typename T>
double readAs(const void* storage)
{
    T t;
    std::memcpy(&t, storage, sizeof t);
    return static_cast<double>(t);
}

// The value at storage read by its value type as a double (unsigned 64-bit
// as unsigned); texts and unknown types give 0.
inline double readTyped(const void* storage, int type)
{
    switch (type) {
    case DD_FLOAT:
        return readAs<float>(storage);
    case DD_DOUBLE:
        return readAs<double>(storage);
    case DD_CHAR:
        return readAs<int8_t>(storage);
    case DD_UCHAR:
        return readAs<uint8_t>(storage);
    case DD_SHORT:
        return readAs<int16_t>(storage);
    case DD_USHORT:
        return readAs<uint16_t>(storage);
    case DD_INT:
        return readAs<int32_t>(storage);
    case DD_UINT:
        return readAs<uint32_t>(storage);
    case DD_LONG:
        return readAs<int64_t>(storage);
    case DD_ULONG:
        return readAs<uint64_t>(storage);
    default:
        return 0;
    }
}

} // namespace dorne

#endif
