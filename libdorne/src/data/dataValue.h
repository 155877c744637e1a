// Moving values between a variable's storage and the outside world: widths
// by value type, the 64-bit rule, bounded texts, and the one converter of
// numbers and texts into and out of the storage that every path uses
// (defaults, constants, the calculator and its engine, actions, the exported
// accessors and the facade). Inline, so that every source kind shares one
// definition (the tests include it too).
#ifndef DORNE_DATA_VALUE_H
#define DORNE_DATA_VALUE_H

#include "dorneVariables.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace dorne {

const size_t kTextStorage = 256; // DD_STRING storage: 255 characters and a zero
const size_t kValueStorage = 8;  // every other type

// Storage bytes a variable of this value type holds.
inline size_t valueStorageSize(int type)
{
    return type == DD_STRING ? kTextStorage : kValueStorage;
}

// Bytes the library's own paths move for a number type: defaults, symbol
// copies, the constant source. The 64-bit types move all 8. 0 for DD_STRING
// and for unknown types (which no path moves).
inline int valueWidth(int type)
{
    switch (type) {
    case DD_CHAR:
    case DD_UCHAR:
        return 1;
    case DD_SHORT:
    case DD_USHORT:
        return 2;
    case DD_FLOAT:
    case DD_INT:
    case DD_UINT:
        return 4;
    case DD_DOUBLE:
    case DD_LONG:
    case DD_ULONG:
        return 8;
    default:
        return 0;
    }
}

// Bytes a value takes in a peer format of 4-byte integers (shared-memory
// entries, UDP datagrams): as valueWidth, but 4 for DD_LONG and DD_ULONG.
inline int wireWidth(int type)
{
    return (type == DD_LONG || type == DD_ULONG) ? 4 : valueWidth(type);
}

// Stores wireWidth(type) bytes, already in host order, into the storage. A
// 4-byte DD_LONG is sign-extended and a DD_ULONG zero-extended to all 8
// bytes, so that no stale upper half survives. Nothing for texts and unknown
// types, or without storage.
inline void storeWire(DD_VAR_STRUCT* v, const void* wire)
{
    if (v == nullptr || v->value == nullptr || wire == nullptr)
        return;
    if (v->type == DD_LONG || v->type == DD_ULONG) {
        uint32_t low;
        std::memcpy(&low, wire, 4);
        const uint64_t wide = v->type == DD_LONG ? uint64_t(int64_t(int32_t(low))) : uint64_t(low);
        std::memcpy(v->value, &wide, 8);
        return;
    }
    const int width = valueWidth(v->type);
    if (width > 0)
        std::memcpy(v->value, wire, size_t(width));
}

// Copies the value in wire width into wire (the low 32 bits of DD_LONG and
// DD_ULONG), in host order. Nothing for texts and unknown types.
inline void loadWire(const DD_VAR_STRUCT* v, void* wire)
{
    if (v == nullptr || v->value == nullptr || wire == nullptr)
        return;
    if (v->type == DD_LONG || v->type == DD_ULONG) {
        uint64_t wide;
        std::memcpy(&wide, v->value, 8);
        const uint32_t low = uint32_t(wide);
        std::memcpy(wire, &low, 4);
        return;
    }
    const int width = valueWidth(v->type);
    if (width > 0)
        std::memcpy(wire, v->value, size_t(width));
}

// Stores the low-order `width` bytes (1, 2, 4 or 8) of n in host order: the
// integer conversions of defaults, constants and the calculator.
inline void storeLowBytes(void* value, uint64_t n, int width)
{
    const uint8_t b = uint8_t(n);
    const uint16_t h = uint16_t(n);
    const uint32_t w = uint32_t(n);
    switch (width) {
    case 1:
        std::memcpy(value, &b, 1);
        break;
    case 2:
        std::memcpy(value, &h, 2);
        break;
    case 4:
        std::memcpy(value, &w, 4);
        break;
    case 8:
        std::memcpy(value, &n, 8);
        break;
    default:
        break;
    }
}

// Copies a text into a 256-byte text target: at most 255 characters, reading
// no more than `available` bytes of source, a zero behind them and at index
// 255. Source and target may overlap.
inline void copyText(char* target, const char* source, size_t available = kTextStorage)
{
    const size_t n = strnlen(source, std::min(available, kTextStorage - 1));
    std::memmove(target, source, n);
    target[n] = '\0';
    target[kTextStorage - 1] = '\0';
}

// ---- The converter: numbers and texts into and out of the storage of a
// variable, by its value type. Its rules:
// - A number becomes an integer of a width by truncation toward zero, held
//   within the range of that width: NaN gives 0, a number beyond the range
//   the nearest end of it.
// - Integer variables (types 2 to 9) take the 64-bit integer: -2^63 to
//   2^63 - 1 for the signed types, -2^63 to 2^64 - 1 for the unsigned ones
//   (a negative number wraps, -1 is all ones). A text gives its integer (the
//   longest valid prefix in the base asked for, 0 when there is none), held
//   the same way, so that every value a getter prints reads back. A type
//   narrower than 64 bits keeps the low bits (300 into an unsigned 8-bit
//   type is 44).
// - Floats and doubles. A float takes the number rounded to the nearest
//   float, held within the finite float range (an infinity becomes the
//   largest float of its sign); a double takes it as it is; NaN stays NaN.
//   A text gives its number by strtod.
// - Texts (type 10): at most 255 characters and a zero.
// - Other types: nothing is stored or read.
// The one variant, IntegerRule::Smallest32, is the double setter of the
// class facade, whose interface names its own 32-bit truncation.

inline bool isIntegerType(int type)
{
    return type >= DD_CHAR && type <= DD_ULONG;
}

inline bool isUnsignedType(int type)
{
    return type == DD_UCHAR || type == DD_USHORT || type == DD_UINT || type == DD_ULONG;
}

// The 64 bits of the number v as an integer of a signed or unsigned type.
inline uint64_t integerBits(double v, bool unsignedType)
{
    const double two63 = 9223372036854775808.0;
    if (std::isnan(v))
        return 0;
    if (v >= two63) {
        if (!unsignedType)
            return uint64_t(INT64_MAX);
        return v >= 2.0 * two63 ? UINT64_MAX : uint64_t(v);
    }
    if (v <= -two63)
        return uint64_t(1) << 63; // INT64_MIN
    return uint64_t(int64_t(v));
}

inline int64_t truncateInt64(double v)
{
    return int64_t(integerBits(v, false));
}

inline uint64_t truncateUint64(double v)
{
    return integerBits(v, true);
}

// A 32-bit integer of its own (the integer operators of expressions, the
// integer fields that numbers set), not a variable's storage.
inline int32_t truncateInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 2147483647.0)
        return INT32_MAX;
    if (v <= -2147483648.0)
        return INT32_MIN;
    return int32_t(v);
}

// The 64 bits of the integer of a text: a text with a minus sign reads
// through the signed range, any other through the type's own.
inline uint64_t textIntegerBits(const char* text, int base, bool unsignedType)
{
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    if (!unsignedType || *p == '-')
        return uint64_t(std::strtoll(text, nullptr, base));
    return std::strtoull(text, nullptr, base);
}

inline float toFloat(double v)
{
    if (v > double(FLT_MAX))
        return FLT_MAX;
    if (v < -double(FLT_MAX))
        return -FLT_MAX;
    return float(v);
}

enum class IntegerRule
{
    Held,      // the converter's rule above
    Smallest32 // types 2 to 7 take the low bits of the number truncated toward
               // zero to 32 bits, NaN and numbers beyond that range giving the
               // smallest 32-bit integer; the 64-bit types as Held
};

template <typename T>
T loadValue(const void* storage)
{
    T t;
    std::memcpy(&t, storage, sizeof t);
    return t;
}

// Stores the number v into the storage of a type 0 to 9 by the rule;
// nothing for other types.
inline void storeNumber(void* storage, int type, double v, IntegerRule rule = IntegerRule::Held)
{
    if (type == DD_FLOAT) {
        const float f = toFloat(v);
        std::memcpy(storage, &f, 4);
    } else if (type == DD_DOUBLE) {
        std::memcpy(storage, &v, 8);
    } else if (isIntegerType(type)) {
        uint64_t bits = integerBits(v, isUnsignedType(type));
        if (rule == IntegerRule::Smallest32 && type != DD_LONG && type != DD_ULONG) {
            const bool inRange = v > -2147483649.0 && v < 2147483648.0; // false for NaN
            bits = uint64_t(int64_t(inRange ? int32_t(v) : INT32_MIN));
        }
        storeLowBytes(storage, bits, valueWidth(type));
    }
}

// Stores a text by the type: numbers as above (integers read in base; 0
// takes it from the text, 0x hexadecimal, a leading 0 octal), a text cut to
// `longest` characters (at most 255), reading no more than `available`
// bytes of it. Nothing for other types.
inline void storeText(void* storage, int type, const char* text, int base, size_t available = kTextStorage,
                      size_t longest = kTextStorage - 1)
{
    if (type == DD_STRING)
        copyText(static_cast<char*>(storage), text, std::min(available, longest));
    else if (type == DD_FLOAT || type == DD_DOUBLE)
        storeNumber(storage, type, std::strtod(text, nullptr));
    else if (isIntegerType(type))
        storeLowBytes(storage, textIntegerBits(text, base, isUnsignedType(type)), valueWidth(type));
}

// The number in the storage of a type 0 to 9 as a double (the unsigned
// types as unsigned); 0 for other types.
inline double readNumber(const void* storage, int type)
{
    switch (type) {
    case DD_FLOAT:
        return loadValue<float>(storage);
    case DD_DOUBLE:
        return loadValue<double>(storage);
    case DD_CHAR:
        return loadValue<int8_t>(storage);
    case DD_UCHAR:
        return loadValue<uint8_t>(storage);
    case DD_SHORT:
        return loadValue<int16_t>(storage);
    case DD_USHORT:
        return loadValue<uint16_t>(storage);
    case DD_INT:
        return loadValue<int32_t>(storage);
    case DD_UINT:
        return loadValue<uint32_t>(storage);
    case DD_LONG:
        return double(loadValue<int64_t>(storage));
    case DD_ULONG:
        return double(loadValue<uint64_t>(storage));
    default:
        return 0;
    }
}

// The same as a 64-bit integer: floats and doubles truncated by the rule,
// DD_ULONG as its 64 bits.
inline int64_t readInteger(const void* storage, int type)
{
    switch (type) {
    case DD_FLOAT:
    case DD_DOUBLE:
        return truncateInt64(readNumber(storage, type));
    case DD_LONG:
    case DD_ULONG:
        return loadValue<int64_t>(storage);
    default: // every narrower integer is exact as a double
        return int64_t(readNumber(storage, type));
    }
}

// The text form of the value into out (kTextStorage bytes): "%f" for floats
// and doubles, the integer in decimal (the unsigned types unsigned), a text
// of at most 255 characters. false, and out untouched, for other types.
inline bool formatValue(const void* storage, int type, char* out)
{
    if (type == DD_FLOAT || type == DD_DOUBLE)
        std::snprintf(out, kTextStorage, "%f", readNumber(storage, type));
    else if (type == DD_ULONG)
        std::snprintf(out, kTextStorage, "%" PRIu64, loadValue<uint64_t>(storage));
    else if (isIntegerType(type))
        std::snprintf(out, kTextStorage, "%" PRId64, readInteger(storage, type));
    else if (type == DD_STRING)
        copyText(out, static_cast<const char*>(storage));
    else
        return false;
    return true;
}

// Fresh zero-filled storage for the variable's value type (the old storage
// freed), as every view start gives it. 0, -1 for null or out of memory.
inline int resetValue(DD_VAR_STRUCT* v)
{
    if (v == nullptr)
        return -1;
    std::free(v->value);
    v->value = std::calloc(1, valueStorageSize(v->type));
    return v->value == nullptr ? -1 : 0;
}

} // namespace dorne

#endif
