// Inside the binary view file: one record's fields read or written in order.
// A refusal sticks in the reader and a failed write in the writer, so a
// record is gone through whole and checked once at its end.
#ifndef DORNE_VIEW_FILE_FIELDS_H
#define DORNE_VIEW_FILE_FIELDS_H

#include "files/viewFile.h"

#include "dorneFiles.h"

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

} // namespace dorne

#endif
