// Inside the binary view file: one record's fields read or written in order.
// A refusal sticks in the reader and a failed write in the writer, so a
// record is gone through whole and checked once at its end.
#ifndef DORNE_VIEW_FILE_FIELDS_H
#define DORNE_VIEW_FILE_FIELDS_H

#include "files/viewFile.h"

#include "dorneActions.h"
#include "dorneFiles.h"

#include <cstring>

namespace dorne {

class FieldReader
{
public:
    // what names the record in the refusal ("a RECTANGLE record").
    FieldReader(ViewReader& in, const char* what) : in_(in), what_(what) {}
    FieldReader& i(int32_t& v)
    {
        in_.readInt(v, what_);
        return *this;
    }
    FieldReader& f(float& v)
    {
        in_.readFloat(v, what_);
        return *this;
    }
    FieldReader& color(float* rgba) { return f(rgba[0]).f(rgba[1]).f(rgba[2]).f(rgba[3]); }
    FieldReader& text(char* field, int32_t n)
    {
        in_.readFixed(field, n, what_);
        return *this;
    }
    // Reads n ints and ignores them.
    FieldReader& skip(int n)
    {
        int32_t ignored;
        for (int k = 0; k < n; ++k)
            in_.readInt(ignored, what_);
        return *this;
    }
    bool ok() const { return !in_.failed(); }

private:
    ViewReader& in_;
    const char* what_;
};

class FieldWriter
{
public:
    explicit FieldWriter(FILE* file) : file_(file) {}
    FieldWriter& i(int32_t v)
    {
        ok_ = ok_ && VPutFInt(v, file_);
        return *this;
    }
    FieldWriter& f(float v)
    {
        ok_ = ok_ && VPutFFloat(v, file_);
        return *this;
    }
    FieldWriter& color(const float* rgba) { return f(rgba[0]).f(rgba[1]).f(rgba[2]).f(rgba[3]); }
    // A fixed text field (putText).
    FieldWriter& text(const char* field, int32_t n)
    {
        ok_ = ok_ && putText(file_, field, n);
        return *this;
    }
    // n zero ints.
    FieldWriter& zeros(int n)
    {
        for (int k = 0; k < n; ++k)
            i(0);
        return *this;
    }
    bool ok() const { return ok_; }

private:
    FILE* file_;
    bool ok_ = true;
};

// The four corners of a record, x and y of each in turn.
inline bool readCorners(FieldReader& r, float* x, float* y)
{
    for (int k = 0; k < 4; ++k)
        r.f(x[k]).f(y[k]);
    return r.ok();
}

// A name or id field of an element frame: a length of 1 to n with the
// zero, then that many bytes; the field holds nothing else afterwards.
inline bool readFrameText(ViewReader& in, char* field, int32_t n, const char* what)
{
    int32_t length;
    if (!in.readLength(length, 1, n, what))
        return false;
    std::memset(field, 0, size_t(n));
    return in.readFixed(field, length, "an element frame");
}

// The children of a GROUP record: their count (each at least minChildBytes
// long), then per child its kind (0 to lastKind), read by
// readChild(kind) with the rest of its record.
template <typename ReadChild>
bool readGroupChildren(ViewReader& in, int64_t minChildBytes, int32_t lastKind, ReadChild readChild)
{
    int32_t count;
    if (!in.readCount(count, minChildBytes, "child"))
        return false;
    for (int32_t k = 0; k < count; ++k) { // bounded: the count fits into the file
        int32_t kind;
        if (!in.readInt(kind, "a GROUP record"))
            return false;
        if (kind < 0 || kind > lastKind)
            return in.refuse("child kind %d out of range", kind);
        if (!readChild(kind))
            return false;
    }
    return true;
}

// The five threshold groups of an action in their stored order.
inline TH_BLOCK ACTION_STRUCT::*const kThresholdGroups[] = {
    &ACTION_STRUCT::thColor, &ACTION_STRUCT::thWidth, &ACTION_STRUCT::thStyle,
    &ACTION_STRUCT::thVisibility, &ACTION_STRUCT::thBlink,
};

// One threshold group: minimum, maximum, the entry count, then per entry
// level, upper level, value and colour (six 4-byte fields), linked in file
// order; false after the refusal was logged.
inline bool readThresholds(ViewReader& in, TH_BLOCK& group)
{
    constexpr int64_t EntryBytes = 6 * 4;
    int32_t count;
    if (!FieldReader(in, "an action").f(group.min).f(group.max).ok() ||
        !in.readCount(count, EntryBytes, "threshold entry"))
        return false;
    TH_STRUCT* last = nullptr;
    for (int32_t k = 0; k < count; ++k) { // bounded: the count fits into the file
        TH_STRUCT* th = createTh();
        if (th == nullptr)
            return in.refuse("out of memory");
        linkBehind(&group.list, last, th);
        if (!FieldReader(in, "a threshold entry").f(th->level).f(th->upperLevel).i(th->intValue).f(th->r).f(th->g).f(th->b).ok())
            return false;
    }
    return true;
}

// Reads count polygon points (id, x, y) onto the polygon's empty point
// list, linked at its tail; false after the refusal was logged.
inline bool readPolygonPoints(ViewReader& in, POLY_STRUCT& s, int32_t count)
{
    COORD_STRUCT* last = nullptr; // a new polygon has no points
    for (int32_t k = 0; k < count; ++k) { // bounded: the count fits into the file
        COORD_STRUCT* point = createCoord();
        if (point == nullptr)
            return in.refuse("out of memory");
        linkBehind(&s.coords, last, point);
        int32_t id;
        if (!FieldReader(in, "a POLYGON point").i(id).f(point->x).f(point->y).ok())
            return false;
        point->id = uint32_t(id);
    }
    return true;
}

} // namespace dorne

#endif
