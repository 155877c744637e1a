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
#include <cstring>

namespace dorne {

// Reads the fields of one view file, each checked against the bytes left.
// The first refusal is logged at level 1 ("<who>: <path>: <reason>") and
// sticks: every later read fails at once, so a record reader may read on
// and check once at the end, or stop at the first false.
//
// The size bytes from the stream's position are fetched in large pieces
// and the fields taken from memory; when the reader goes, the stream is
// left just behind the bytes it took, so that its owner reads on from there.
class ViewReader
{
public:
    ViewReader(FILE* file, const char* who, const char* path, int64_t size);
    ~ViewReader();
    ViewReader(const ViewReader&) = delete;
    ViewReader& operator=(const ViewReader&) = delete;

    bool readInt(int32_t& value, const char* what)
    {
        if (end_ - next_ < 4 || failed_)
            return readIntSlow(value, what);
        const unsigned char* b = piece_ + next_;
        const uint32_t u = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
        std::memcpy(&value, &u, sizeof value);
        next_ += 4;
        left_ -= 4;
        return true;
    }
    bool readFloat(float& value, const char* what)
    {
        int32_t bits;
        if (!readInt(bits, what))
            return false;
        std::memcpy(&value, &bits, sizeof value);
        return true;
    }
    // n bytes into field (which holds n); field[n - 1] becomes zero.
    bool readFixed(char* field, int32_t n, const char* what)
    {
        if (n < 1 || end_ - next_ < n || failed_)
            return readFixedSlow(field, n, what);
        std::memcpy(field, piece_ + next_, size_t(n));
        field[n - 1] = '\0';
        next_ += n;
        left_ -= n;
        return true;
    }
    // A count of records of at least minBytes each; refused when negative
    // or when that many records cannot fit into the bytes left.
    bool readCount(int32_t& count, int64_t minBytes, const char* what);
    // A length of lo to hi bytes that are still in the file.
    bool readLength(int32_t& length, int32_t lo, int32_t hi, const char* what);
    // Reads what there is, at most n bytes, without refusing; the count.
    int64_t readUpTo(void* bytes, int64_t n);
    // The next bytes without taking them, so that a record can be sized
    // before it is read: how many are at bytes (up to n; fewer at the end of
    // the file or of the piece held in memory, 0 after a refusal).
    int64_t peek(const unsigned char*& bytes, int64_t n);

    // Logs the reason (printf format) once and fails the read; false.
    bool refuse(const char* format, ...) __attribute__((format(printf, 2, 3)));

    int64_t remaining() const { return left_; }
    bool failed() const { return failed_; }

    int version = 0; // major x 100 + minor of the file
    // Set by a whole-view read, which owes the elements it reads their
    // definitionLoad: an element reader may then do that work itself as
    // each element is read whole (children before their group, as
    // definitionLoad goes), while the element is still in the cache, in
    // place of its read-time update hook; it says so in resolvedAsRead.
    bool resolveAsRead = false;
    bool resolvedAsRead = false;

private:
    // The fields that do not lie whole in the bytes held, and refusals.
    bool readIntSlow(int32_t& value, const char* what);
    bool readFixedSlow(char* field, int32_t n, const char* what);
    bool take(void* bytes, int64_t n, const char* what);
    // Moves the held bytes to the front and fetches more behind them.
    void fill();
    // Takes up to n bytes from memory and the stream; the count.
    int64_t fetch(unsigned char* bytes, int64_t n);

    FILE* file_;
    const char* who_;
    const char* path_;
    int64_t left_;             // bytes of the file not yet taken, held or not
    bool failed_ = false;
    unsigned char* piece_ = nullptr; // bytes fetched from the stream
    int64_t capacity_ = 0;
    int64_t next_ = 0;         // piece_[next_, end_) are held, not yet taken
    int64_t end_ = 0;
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
    // Links a top-level element behind the last one read.
    void addElement(ELEMENT_STRUCT* element);
    // Moves the gathered lists to the tails of the caller's lists and the
    // block into the caller's block; a null target takes nothing (what it
    // would have taken is freed with the content).
    void adopt(ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* target);

    ELEMENT_STRUCT* elements = nullptr;
    ELEMENT_STRUCT* lastElement = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    DD_DATA_TYPE_STRUCT* lastSource = nullptr;
    CONFIG_STRUCT config;
    // A font held while the read lasts (released with the content): the one
    // a new GRAPH is made with, so that graphs that give it up for the
    // file's font do not free it and build it again one after the other.
    void* heldFont = nullptr;
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

// Element records of 3.01 to 3.03 (viewFileElements.cpp). The revision
// (in.version) tells the layouts apart: 3.01 reads the fill patterns and
// ignores them, 3.01 and 3.02 store actions in their older layout.
// Kinds 0 to 14 are records (10 becomes a TEXT, 9 is frame and actions);
// groups nest at most kMaxGroupDepth levels.
const int kMaxGroupDepth = 255;

// One element record of kind (read by the caller), with its children and
// actions, linked behind out's last element (and freed with out when the
// record is refused).
bool elementLoad(ViewReader& in, ViewContent& out, int32_t kind);

// Writes one element record in 3.03 with its children and actions. False
// when a write fails, and (logged, errno EINVAL) for an element the readers
// would refuse: a kind outside 0 to 14, a kind without its record, groups
// nested deeper than kMaxGroupDepth.
bool elementSave(FILE* file, const ELEMENT_STRUCT* element);

// Action lists (viewFileActions.cpp): a count and the records in the
// layout of in.version, appended at the tail of *list, whose last entry is
// *last (null for an empty list). What was appended before a refusal stays
// in the list for its owner to free.
bool actionLoad(ViewReader& in, ACTION_STRUCT** list, ACTION_STRUCT*& last);
// Writes the list in 3.03; false when a write fails.
bool actionSave_303(FILE* file, const ACTION_STRUCT* list);

// A fixed text field of width bytes as the writer stores it: its text, at
// most width - 1 characters, then zero bytes to the width.
bool putText(FILE* file, const char* field, int32_t width);

// Writes the view in 3.03 to path through a file that replaces the old one
// when complete: header, view block, each top-level element, the
// data-source section. 0, or -1 (logged).
int writeView(const char* path, const ELEMENT_STRUCT* elements, const DD_DATA_TYPE_STRUCT* sources,
              const CONFIG_STRUCT& config);

// Reads a whole view (header, revision, body) through the reader named
// name in its messages; on success appends to the caller's lists, fills the
// block and resolves the styles of the list, else leaves all three as they
// were. False after the refusal was logged.
bool readView(ViewReader& in, const char* name, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
              CONFIG_STRUCT* config);

// Turns the stored line style and fill pattern numbers of the element (a
// group's children first) and of its actions' line-style thresholds into
// stipples and masks, then runs its update hook. False when a hook ran out
// of memory (the rest is done).
bool definitionLoad(ELEMENT_STRUCT* element);
// The same for an element whose children had theirs: its own record,
// actions and hook.
bool definitionLoadOwn(ELEMENT_STRUCT* element);

// Runs the element's update hook, if it has one; false when the hook ran
// out of memory for the element's grab handles.
inline bool runUpdate(ELEMENT_STRUCT* element)
{
    return element->update == nullptr || element->update(element) == 0;
}

// The read-time update hooks that an element reader left out
// (resolvedAsRead), run where they would have had an effect that
// definitionLoad does not redo: a group's hook moves each child without a
// hook of its own by the group's position every time it runs, so the
// list's groups holding such children get their hooks again (children
// first) as often as the reader would have run them. False as for
// definitionLoad.
bool replayLeftOutHooks(ELEMENT_STRUCT* list);

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

// Links the list that starts at first (null: nothing) behind the last entry
// of *head.
template <typename T>
void appendList(T** head, T* first)
{
    if (first == nullptr)
        return;
    T* last = *head;
    while (last != nullptr && last->next != nullptr)
        last = last->next;
    first->prev = last;
    if (last != nullptr)
        last->next = first;
    else
        *head = first;
}

} // namespace dorne

#endif
