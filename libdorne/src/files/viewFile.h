// Inside the binary view file: the checked reader that every record reader
// goes through, what a read gathers before the caller gets it, the groups of
// revisions that share a layout, and the section readers and writers.
//
// A revision group names its view block reader, its data-source section
// reader and its element record reader; the body loop (readBody) is the
// same for all. A new group is a RevisionGroup in the file of its records
// and a line of the dispatch table in viewFile.cpp.
#ifndef DORNE_VIEW_FILE_H
#define DORNE_VIEW_FILE_H

#include "dorneView.h"

#include <cstdint>
#include <cstdio>

namespace dorne {

// Reads the fields of one view file, each checked against the bytes left.
// The first refusal is logged at level 1 ("<who>: <path>: <reason>") and
// sticks: every later read fails at once, so a record reader may read on
// and check once at the end, or stop at the first false.
class ViewReader
{
public:
    ViewReader(FILE* file, const char* who, const char* path, int64_t size);

    bool readInt(int32_t& value, const char* what);
    bool readFloat(float& value, const char* what);
    // n bytes into field (which holds n); field[n - 1] becomes zero.
    bool readFixed(char* field, int32_t n, const char* what);
    // A count of records of at least minBytes each; refused when negative
    // or when that many records cannot fit into the bytes left.
    bool readCount(int32_t& count, int64_t minBytes, const char* what);
    // A length of lo to hi bytes that are still in the file.
    bool readLength(int32_t& length, int32_t lo, int32_t hi, const char* what);
    // Reads what there is, at most n bytes, without refusing; the count.
    int64_t readUpTo(void* bytes, int64_t n);

    // Logs the reason (printf format) once and fails the read; false.
    bool refuse(const char* format, ...) __attribute__((format(printf, 2, 3)));

    int64_t remaining() const { return left_; }
    bool failed() const { return failed_; }

    int version = 0; // major x 100 + minor of the file

private:
    bool take(void* bytes, int64_t n, const char* what);

    FILE* file_;
    const char* who_;
    const char* path_;
    int64_t left_;
    bool failed_ = false;
};

// What one read gathers. The caller's lists and block change only when the
// whole file was read (adopt); otherwise everything here is freed.
struct ViewContent
{
    explicit ViewContent(const CONFIG_STRUCT& current) : config(current) {}
    ~ViewContent();
    ViewContent(const ViewContent&) = delete;
    ViewContent& operator=(const ViewContent&) = delete;

    // Links a source behind the last one read (file order, no list walk).
    void addSource(DD_DATA_TYPE_STRUCT* source);
    // Moves the gathered lists to the tails of the caller's lists and the
    // block into the caller's block.
    void adopt(ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* target);

    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* lastSource = nullptr;
    CONFIG_STRUCT config;
};

// The layouts one group of revisions shares. A null elementRecord refuses
// element records.
struct RevisionGroup
{
    bool (*viewBlock)(ViewReader& in, CONFIG_STRUCT& config);
    bool (*dataSection)(ViewReader& in, ViewContent& out);
    bool (*elementRecord)(ViewReader& in, ViewContent& out, int32_t tag);
};

// The body of every revision: the group's view block, then tagged records
// until the end of the file or a stored -1: 20 a data-source section, an
// element kind number an element record; any other tag is refused.
bool readBody(ViewReader& in, ViewContent& out, const RevisionGroup& group);

// Revisions 3.01 to 3.03.
extern const RevisionGroup kRevision301;
extern const RevisionGroup kRevision302;
extern const RevisionGroup kRevision303;

// View block of 3.01 to 3.03: x, y, width, height, red, green, blue and four
// reserved ints.
bool loadConfigFile_303(ViewReader& in, CONFIG_STRUCT& config);

// Data-source sections: 3.01 stores variable parameters as int and 64
// bytes, 3.02 and 3.03 as int, length and text.
bool dataLoad_301(ViewReader& in, ViewContent& out);
bool dataLoad_303(ViewReader& in, ViewContent& out);

// Writes the data-source section of revision 3.03; false when a write fails.
bool dataSave_303(FILE* file, const DD_DATA_TYPE_STRUCT* sources);

// Turns the stored line style and fill pattern numbers of the element (a
// group's children first) and of its actions' line-style thresholds into
// stipples and masks, then runs its update hook.
void definitionLoad(ELEMENT_STRUCT* element);

// Links node behind last (null: node becomes the head); last becomes node.
template <typename T>
void linkBehind(T** head, T*& last, T* node)
{
    node->next = nullptr;
    node->prev = last;
    if (last != nullptr)
        last->next = node;
    else
        *head = node;
    last = node;
}

} // namespace dorne

#endif
