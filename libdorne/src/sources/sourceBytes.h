// Values at byte offsets of a region another program fills: a shared-memory
// segment or a UDP receive buffer. The offsets come from view files, the
// segment's own block or the network, so every access is checked against
// the region's size. Shared by the shared-memory and UDP sources.
#ifndef DORNE_SOURCE_BYTES_H
#define DORNE_SOURCE_BYTES_H

#include "data/dataValue.h"

#include "dorneDataSources.h"
#include "dorneLog.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace dorne {

// 1 on a little-endian host, 0 on a big-endian one; the ENDIAN choices
// number the same way (0 "Big Endian", 1 "Little Endian").
const int kHostLittleEndian = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? 1 : 0;

// Reverses `length` bytes (0 to 8) in place; -1 and the bytes unchanged for
// another length.
inline int swapBytes(void* bytes, int length)
{
    if (length < 0 || length > 8)
        return -1;
    auto* b = static_cast<unsigned char*>(bytes);
    std::reverse(b, b + length);
    return 0;
}

// Option i of a source or a variable, or null when the record has no such
// entry or no text.
inline const DD_PARA_STRUCT* optionAt(const DD_PARA_STRUCT* para, int32_t alloc, int i)
{
    if (para == nullptr || i < 0 || i >= alloc || para[i].text == nullptr || para[i].capacity <= 0)
        return nullptr;
    return &para[i];
}

// Rewrites option i's text (cut to its capacity), as the editor hooks preset
// them; nothing when there is no such option.
inline void setOptionText(DD_PARA_STRUCT* para, int32_t alloc, int i, const char* text)
{
    if (const DD_PARA_STRUCT* p = optionAt(para, alloc, i))
        std::snprintf(p->text, size_t(p->capacity), "%s", text);
}

// A decimal option text as atoi reads it: leading blanks, a sign, the
// digits that follow (0 when there are none), read within the text's
// capacity. False for a missing text and for a value beyond long long.
inline bool parseDecimal(const DD_PARA_STRUCT* para, long long* value)
{
    if (para == nullptr)
        return false;
    const char* t = para->text;
    const char* end = t + strnlen(t, size_t(para->capacity));
    while (t < end && (*t == ' ' || (*t >= '\t' && *t <= '\r')))
        ++t;
    bool negative = false;
    if (t < end && (*t == '+' || *t == '-'))
        negative = *t++ == '-';
    long long n = 0;
    for (; t < end && *t >= '0' && *t <= '9'; ++t) { // bounded by the capacity
        const int digit = *t - '0';
        if (n > (LLONG_MAX - digit) / 10)
            return false;
        n = n * 10 + digit;
    }
    *value = negative ? -n : n;
    return true;
}

// The variable's OFFSET (its option 0). False when it has none or it does
// not parse.
inline bool variableOffset(const DD_VAR_STRUCT* v, long long* offset)
{
    return v != nullptr && parseDecimal(optionAt(v->para, v->paraAlloc, 0), offset);
}

// Whether a value of the variable's type fits at offset into size bytes:
// its wire width, or for a text at least its first byte. False for types
// no path moves.
inline bool fitsAt(const DD_VAR_STRUCT* v, long long offset, size_t size)
{
    const long long width = v->type == DD_STRING ? 1 : wireWidth(v->type);
    return width > 0 && offset >= 0 && (unsigned long long)offset <= size &&
           (unsigned long long)width <= size - size_t(offset);
}

// Get: reads the variable's value at its OFFSET of the region into its
// storage: numbers in wire width, byte-reversed when `swap`; a text of at
// most 255 characters that stops at the region's end. Nothing without a
// region or storage, or when the value does not fit (fitsAt).
inline void readValue(DD_VAR_STRUCT* v, const unsigned char* base, size_t size, bool swap)
{
    long long offset = 0;
    if (v == nullptr || v->value == nullptr || base == nullptr || !variableOffset(v, &offset) ||
        !fitsAt(v, offset, size))
        return;
    const unsigned char* at = base + offset;
    if (v->type == DD_STRING) {
        copyText(static_cast<char*>(v->value), reinterpret_cast<const char*>(at), size - size_t(offset));
        return;
    }
    const int width = wireWidth(v->type);
    unsigned char wire[8];
    std::memcpy(wire, at, size_t(width));
    if (swap)
        swapBytes(wire, width);
    storeWire(v, wire);
}

// Set: writes a value the view changed (changed flag) at its OFFSET of the
// region, the reverse of readValue: numbers byte-reversed before they land,
// so a reader on the other side never sees them half turned; a text with
// its zero and a zero at OFFSET + 255, cut at the region's end.
inline void writeValue(const DD_VAR_STRUCT* v, unsigned char* base, size_t size, bool swap)
{
    long long offset = 0;
    if (v == nullptr || !v->changed || v->value == nullptr || base == nullptr || !variableOffset(v, &offset) ||
        !fitsAt(v, offset, size))
        return;
    unsigned char* at = base + offset;
    const size_t room = size - size_t(offset);
    if (v->type == DD_STRING) {
        const char* text = static_cast<const char*>(v->value);
        const size_t n = strnlen(text, kTextStorage - 1);
        std::memcpy(at, text, std::min(n, room));
        if (n < room)
            at[n] = '\0';
        if (kTextStorage - 1 < room)
            at[kTextStorage - 1] = '\0';
        return;
    }
    const int width = wireWidth(v->type);
    unsigned char wire[8];
    loadWire(v, wire);
    if (swap)
        swapBytes(wire, width);
    std::memcpy(at, wire, size_t(width));
}

// Logs at level 2 each variable of the source whose OFFSET does not place
// its value inside the region of `size` bytes: the exchange passes those
// over. `who` names the entry point, `region` what the bytes are.
inline void reportOffsets(const char* who, const DD_DATA_TYPE_STRUCT* s, const char* region, size_t size)
{
    for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) { // the source's variables
        if (valueWidth(v->type) == 0 && v->type != DD_STRING)
            continue; // no path moves it
        long long offset = 0;
        if (variableOffset(v, &offset) && fitsAt(v, offset, size))
            continue;
        const DD_PARA_STRUCT* p = optionAt(v->para, v->paraAlloc, 0);
        logMsg(2, "%s: variable %s: OFFSET <%.*s> lies outside the %s of %zu bytes, not exchanged\n", who, v->name,
               p != nullptr ? int(strnlen(p->text, size_t(p->capacity))) : 0, p != nullptr ? p->text : "", region,
               size);
    }
}

} // namespace dorne

#endif
