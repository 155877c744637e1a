// Moving values between a variable's storage and the outside world: widths
// by value type, the 64-bit rule and bounded texts. Inline, so that every
// source kind shares one definition (the tests include it too).
#ifndef DORNE_DATA_VALUE_H
#define DORNE_DATA_VALUE_H

#include "dorneVariables.h"

#include <algorithm>
#include <cstdint>
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

// Stores d into the storage of a DD_FLOAT (rounded to the nearest float) or
// DD_DOUBLE variable; nothing for other types.
inline void storeReal(DD_VAR_STRUCT* v, double d)
{
    if (v->type == DD_FLOAT) {
        const float f = float(d);
        std::memcpy(v->value, &f, 4);
    } else if (v->type == DD_DOUBLE) {
        std::memcpy(v->value, &d, 8);
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

// Converts a text into the storage by value type, each conversion taking
// the longest valid prefix (0 when there is none): floats and doubles;
// integers in the base given (0: from the text, 0x hexadecimal, a leading 0
// octal), stored in their width, the 64-bit types in all 8 bytes; a text cut
// to 255 characters, read from at most `available` bytes. Nothing for
// unknown types or without storage.
inline void convertText(DD_VAR_STRUCT* v, const char* text, size_t available, int base)
{
    if (v == nullptr || v->value == nullptr || text == nullptr)
        return;
    switch (v->type) {
    case DD_FLOAT:
    case DD_DOUBLE:
        storeReal(v, std::strtod(text, nullptr));
        break;
    case DD_CHAR:
    case DD_UCHAR:
    case DD_SHORT:
    case DD_USHORT:
    case DD_INT:
    case DD_UINT:
    case DD_LONG:
        storeLowBytes(v->value, uint64_t(std::strtoll(text, nullptr, base)), valueWidth(v->type));
        break;
    case DD_ULONG:
        storeLowBytes(v->value, std::strtoull(text, nullptr, base), 8);
        break;
    case DD_STRING:
        copyText(static_cast<char*>(v->value), text, available);
        break;
    default:
        break;
    }
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
