// The binary view file: header, revision dispatch, the body loop shared by
// every revision, the view block of 3.01 to 3.03, and the writer's frame
// (revision 3.03 through a temporary file that replaces the old one).
#include "files/viewFile.h"
#include "files/viewFileOld.h"

#include "base/libraryLock.h"
#include "elements/elementKinds.h"

#include "files/fileAccess.h"

#include "dorneFiles.h"
#include "dorneLog.h"
#include "dornePlatform.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace dorne {

namespace {

const char kMagic[] = "VIEW FILE";
const size_t kMagicLength = sizeof kMagic - 1;
const int kHeaderText = 30;
const int32_t kSourceTag = 20;
const char kDashes[] = "-------------------------------------\n";

// Which reader a revision takes. Revisions that share a layout share a
// group; loadConfigFile reads the view block of 1.00 and 1.01 with the
// 1.02 reader. A null group is a revision without a reader.
struct RevisionEntry
{
    int first, last;
    const RevisionGroup* load;
    const RevisionGroup* config;
};

// The revisions below 3.01 are read by the group of the revision that
// first had their layout (viewFileOld.h).
const RevisionEntry kRevisions[] = {
    {100, 100, &kRevision100, &kRevision102},
    {101, 101, &kRevision101, &kRevision102},
    {102, 106, &kRevision102, &kRevision102},
    {107, 110, &kRevision107, &kRevision107},
    {111, 112, &kRevision111, &kRevision111},
    {113, 116, &kRevision113, &kRevision113},
    {200, 200, &kRevision113, &kRevision113},
    {201, 201, &kRevision201, &kRevision201},
    {202, 202, &kRevision202, &kRevision202},
    {203, 203, &kRevision203, &kRevision203},
    {204, 204, &kRevision204, &kRevision204},
    {300, 300, &kRevision204, &kRevision204},
    {301, 301, &kRevision301, &kRevision301},
    {302, 302, &kRevision302, &kRevision302},
    {303, 303, &kRevision303, &kRevision303},
};

const RevisionEntry* findRevision(long long version)
{
    for (const RevisionEntry& r : kRevisions)
        if (version >= r.first && version <= r.last)
            return &r;
    return nullptr;
}

// Kind 9 has no kind record: its record is frame and actions.
bool isElementTag(int32_t tag)
{
    return tag >= VD_GRAPH && tag <= VD_SCISSOR;
}

// Reads the header text and the two revision ints. The magic decides
// first: a file without it is no view file however short it is. False when
// there is no magic ("wrong file format") or the header is cut (logged).
bool readHeader(ViewReader& in, int32_t& major, int32_t& minor)
{
    char text[kHeaderText] = {};
    const int64_t got = in.readUpTo(text, kHeaderText);
    if (got < int64_t(kMagicLength) || std::memcmp(text, kMagic, kMagicLength) != 0) {
        logMsg(1, "wrong file format\n");
        return false;
    }
    if (got < kHeaderText)
        return in.refuse("unexpected end of file in the header");
    return in.readInt(major, "the header") && in.readInt(minor, "the header");
}

// Reads and announces the header of a whole read or of a view block read
// (configOnly) and finds the group that reads the revision; null (logged)
// when the file is refused.
const RevisionGroup* readRevision(ViewReader& in, const char* path, bool configOnly)
{
    int32_t major, minor;
    if (!readHeader(in, major, minor))
        return nullptr;
    logMsg(3, "%s", kDashes);
    logMsg(3, configOnly ? "reading config from %s\n" : "reading view file from %s\n", path);
    logMsg(3, configOnly ? "Version = %d.%02d\n" : "Version = %d.%d\n", major, minor);
    logMsg(3, "%s", kDashes);

    const long long version = (long long)major * 100 + minor; // no overflow into a known revision
    const RevisionEntry* entry = findRevision(version);
    const RevisionGroup* group = entry == nullptr ? nullptr : configOnly ? entry->config : entry->load;
    if (group == nullptr) {
        logMsg(1, "%s: rev %lld not supported\n", configOnly ? "loadConfigFile" : "loadFile", version);
        return nullptr;
    }
    in.version = int(version);
    return group;
}

} // namespace

// ---- ViewReader ------------------------------------------------------------

namespace {

// Bytes fetched from the stream at a time: all of a small file, a large one
// in pieces, so that one record read from a long stream fetches little.
const int64_t kPiece = 64 * 1024;

} // namespace

ViewReader::ViewReader(FILE* file, const char* who, const char* path, int64_t size)
    : file_(file), who_(who), path_(path), left_(size)
{
    const int64_t want = size < kPiece ? size : kPiece;
    if (want > 0) {
        // Without it every field comes straight from the stream.
        piece_ = static_cast<unsigned char*>(std::malloc(size_t(want)));
        if (piece_ != nullptr)
            capacity_ = want;
    }
}

ViewReader::~ViewReader()
{
    // What was fetched but not taken goes back to the stream.
    if (end_ > next_ && file_ != nullptr)
        (void)fseeko(file_, -off_t(end_ - next_), SEEK_CUR);
    std::free(piece_);
}

void ViewReader::fill()
{
    const int64_t held = end_ - next_;
    if (next_ > 0) {
        std::memmove(piece_, piece_ + next_, size_t(held));
        next_ = 0;
        end_ = held;
    }
    const int64_t inStream = left_ - held;
    const int64_t want = capacity_ - end_ < inStream ? capacity_ - end_ : inStream;
    if (want <= 0)
        return;
    const size_t got = std::fread(piece_ + end_, 1, size_t(want), file_);
    end_ += int64_t(got);
    // The size comes from the file system; a file that shrinks while it is
    // read ends early all the same.
    if (int64_t(got) < want)
        left_ = end_;
}

int64_t ViewReader::fetch(unsigned char* bytes, int64_t n)
{
    int64_t done = 0;
    while (done < n) {
        int64_t held = end_ - next_;
        if (held == 0) {
            const int64_t rest = n - done;
            if (rest >= capacity_) { // a long field goes straight into place
                const size_t got = std::fread(bytes + done, 1, size_t(rest), file_);
                done += int64_t(got);
                left_ = int64_t(got) < rest ? 0 : left_ - rest;
                break;
            }
            fill();
            held = end_;
            if (held == 0)
                break;
        }
        const int64_t n1 = held < n - done ? held : n - done;
        std::memcpy(bytes + done, piece_ + next_, size_t(n1));
        next_ += n1;
        left_ -= n1;
        done += n1;
    }
    return done;
}

int64_t ViewReader::peek(const unsigned char*& bytes, int64_t n)
{
    if (failed_)
        return 0;
    if (n > left_)
        n = left_;
    if (end_ - next_ < n && capacity_ > 0)
        fill();
    bytes = piece_ + next_;
    const int64_t held = end_ - next_;
    return held < n ? held : n;
}

bool ViewReader::refuse(const char* format, ...)
{
    if (failed_)
        return false;
    failed_ = true;
    char reason[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(reason, sizeof reason, format, args);
    va_end(args);
    logMsg(1, "%s: %s: %s\n", who_, path_, reason);
    return false;
}

bool ViewReader::take(void* bytes, int64_t n, const char* what)
{
    if (failed_)
        return false;
    if (n > left_ || fetch(static_cast<unsigned char*>(bytes), n) != n)
        return refuse("unexpected end of file in %s", what);
    return true;
}

int64_t ViewReader::readUpTo(void* bytes, int64_t n)
{
    if (failed_ || n <= 0)
        return 0;
    return fetch(static_cast<unsigned char*>(bytes), n < left_ ? n : left_);
}

bool ViewReader::readIntSlow(int32_t& value, const char* what)
{
    unsigned char b[4];
    if (!take(b, 4, what))
        return false;
    const uint32_t u = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    std::memcpy(&value, &u, sizeof value);
    return true;
}

bool ViewReader::readFixedSlow(char* field, int32_t n, const char* what)
{
    if (n < 1)
        return refuse("%s of %d bytes", what, n);
    if (!take(field, n, what))
        return false;
    field[n - 1] = '\0';
    return true;
}

bool ViewReader::readCount(int32_t& count, int64_t minBytes, const char* what)
{
    if (!readInt(count, what))
        return false;
    if (count < 0)
        return refuse("%s count %d out of range", what, count);
    if (minBytes > 0 && count > left_ / minBytes)
        return refuse("%s count %d runs past the end of the file", what, count);
    return true;
}

bool ViewReader::readLength(int32_t& length, int32_t lo, int32_t hi, const char* what)
{
    if (!readInt(length, what))
        return false;
    if (length < lo || length > hi)
        return refuse("%s length %d out of range", what, length);
    if (length > left_)
        return refuse("%s length %d runs past the end of the file", what, length);
    return true;
}

// ---- What a read gathers -----------------------------------------------------

ViewContent::~ViewContent()
{
    elementDeleteAll(&elements);
    while (sources != nullptr) // each pass unlinks the head
        delDataType(&sources, sources, 0);
    vdiFontRelease(heldFont);
}

void ViewContent::addSource(DD_DATA_TYPE_STRUCT* source)
{
    linkBehind(&sources, lastSource, source);
}

void ViewContent::addElement(ELEMENT_STRUCT* element)
{
    linkBehind(&elements, lastElement, element);
}

void ViewContent::adopt(ELEMENT_STRUCT** elementList, DD_DATA_TYPE_STRUCT** sourceList, CONFIG_STRUCT* target)
{
    if (elementList != nullptr) {
        appendList(elementList, elements);
        elements = lastElement = nullptr;
    }
    if (sourceList != nullptr) {
        appendList(sourceList, sources);
        sources = lastSource = nullptr;
    }
    if (target != nullptr)
        *target = config;
}

// ---- Body and view block of 3.01 to 3.03 -------------------------------------

bool readBody(ViewReader& in, ViewContent& out, const RevisionGroup& group)
{
    if (!group.viewBlock(in, out.config))
        return false;
    // Every pass reads at least its tag from the bytes left.
    while (in.remaining() > 0) {
        int32_t tag;
        if (!in.readInt(tag, "a record tag"))
            return false;
        if (tag == -1)
            break;
        if (tag == kSourceTag) {
            if (!group.dataSection(in, out))
                return false;
        } else if (!isElementTag(tag)) {
            return in.refuse("unknown record tag %d", tag);
        } else if (group.elementRecord == nullptr) {
            return in.refuse("element records are not supported (tag %d)", tag);
        } else if (!group.elementRecord(in, out, tag)) {
            return false;
        }
    }
    return !in.failed();
}

bool loadConfigFile_303(ViewReader& in, CONFIG_STRUCT& config)
{
    int32_t reserved;
    return in.readFloat(config.x, "the view block") && in.readFloat(config.y, "the view block") &&
           in.readFloat(config.width, "the view block") && in.readFloat(config.height, "the view block") &&
           in.readFloat(config.r, "the view block") && in.readFloat(config.g, "the view block") &&
           in.readFloat(config.b, "the view block") && in.readInt(reserved, "the view block") &&
           in.readInt(reserved, "the view block") && in.readInt(reserved, "the view block") &&
           in.readInt(reserved, "the view block");
}

const RevisionGroup kRevision301 = {loadConfigFile_303, dataLoad_301, elementLoad};
const RevisionGroup kRevision302 = {loadConfigFile_303, dataLoad_303, elementLoad};
const RevisionGroup kRevision303 = {loadConfigFile_303, dataLoad_303, elementLoad};

// ---- Writing -----------------------------------------------------------------

namespace {

bool writeViewBlock(FILE* file, const CONFIG_STRUCT& config)
{
    return VPutFFloat(config.x, file) && VPutFFloat(config.y, file) && VPutFFloat(config.width, file) &&
           VPutFFloat(config.height, file) && VPutFFloat(config.r, file) && VPutFFloat(config.g, file) &&
           VPutFFloat(config.b, file) && VPutFInt(0, file) && VPutFInt(0, file) && VPutFInt(0, file) &&
           VPutFInt(0, file);
}

} // namespace

int writeView(const char* path, const ELEMENT_STRUCT* elements, const DD_DATA_TYPE_STRUCT* sources,
              const CONFIG_STRUCT& config)
{
    ReplacingFile out(path);
    if (out.notRegular()) {
        logMsg(1, "saveFile: %s: not a regular file\n", path);
        return -1;
    }
    if (out.file() == nullptr) {
        perror("file open");
        return -1;
    }
    if (out.modeError() != 0)
        logMsg(2, "saveFile: %s: the old permissions could not be kept: %s\n", path, std::strerror(out.modeError()));
    const int major = 3;
    const int minor = 3;
    char header[kHeaderText] = {};
    std::snprintf(header, sizeof header, "VIEW FILE %d.%d\n", major, minor);
    FILE* file = out.file();
    bool written = VPutFString(header, file, kHeaderText) && VPutFInt(major, file) && VPutFInt(minor, file) &&
                   writeViewBlock(file, config);
    for (const ELEMENT_STRUCT* e = elements; written && e != nullptr; e = e->next)
        written = elementSave(file, e);
    written = written && VPutFInt(kSourceTag, file) && dataSave_303(file, sources);
    if (!written || !out.commit()) {
        logMsg(1, "saveFile: %s: cannot write: %s\n", path, std::strerror(errno));
        return -1;
    }
    return 0;
}

} // namespace dorne

using dorne::OpenedFile;
using dorne::ViewContent;
using dorne::ViewReader;

namespace dorne {

bool readView(ViewReader& in, const char* name, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
              CONFIG_STRUCT* config)
{
    const RevisionGroup* group = readRevision(in, name, false);
    if (group == nullptr)
        return false;
    ViewContent content(*config);
    in.resolveAsRead = true;
    if (!readBody(in, content, *group))
        return false; // content frees what was read
    // Elements read by a reader that resolved them need no second pass; the
    // others are resolved before they are adopted, so that a hook that runs
    // out of memory leaves the caller's lists as they were.
    bool resolved = true;
    if (in.resolvedAsRead)
        resolved = replayLeftOutHooks(content.elements);
    else
        for (ELEMENT_STRUCT* e = content.elements; e != nullptr; e = e->next)
            resolved = definitionLoad(e) && resolved;
    if (!resolved)
        return in.refuse("out of memory");
    // The caller's own elements are resolved again only once the load can
    // no longer be refused: a refusal leaves their handle records, which an
    // editor may hold, where they are. A hook that runs out of memory here
    // keeps that element's handles, which are equal in value.
    ELEMENT_STRUCT* const callerElements = *elements;
    ELEMENT_STRUCT* const firstRead = content.elements;
    content.adopt(elements, sources, config);
    for (ELEMENT_STRUCT* e = callerElements; e != nullptr && e != firstRead; e = e->next) // the caller's, in front
        if (!definitionLoad(e))
            logMsg(2, "loadFile: %s: %.63s keeps its grab handles (out of memory)\n", name, e->name);
    return true;
}

} // namespace dorne

int loadFile(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
{
    if (path == nullptr || elements == nullptr || sources == nullptr || config == nullptr) {
        logMsg(1, "loadFile: null argument\n");
        return -1;
    }
    // Taken first: what a refused read frees goes back under it too.
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    OpenedFile opened(path);
    if (opened.file() == nullptr) {
        logMsg(1, "cannot open file %s\n", path);
        return -1;
    }
    ViewReader in(opened.file(), "loadFile", path, opened.size());
    return dorne::readView(in, path, elements, sources, config) ? 0 : -1;
}

int loadConfigFile(const char* path, CONFIG_STRUCT* config)
{
    if (path == nullptr || config == nullptr) {
        logMsg(1, "loadConfigFile: null argument\n");
        return -1;
    }
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    OpenedFile opened(path);
    if (opened.file() == nullptr) {
        const int error = errno;
        perror("file open");
        return -error;
    }
    ViewReader in(opened.file(), "loadConfigFile", path, opened.size());
    const dorne::RevisionGroup* group = dorne::readRevision(in, path, true);
    if (group == nullptr)
        return -1;
    CONFIG_STRUCT read = *config;
    if (!group->viewBlock(in, read))
        return -1;
    *config = read;
    return 0;
}

int saveFile(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources, CONFIG_STRUCT* config)
{
    if (path == nullptr || config == nullptr) {
        logMsg(1, "saveFile: null argument\n");
        return -1;
    }
    const int release = VGet_releasenr();
    if (release != 303) {
        logMsg(1, "saveFile: rev %d not supported\n", release);
        return -1;
    }
    return saveFile_303(path, elements, sources, config);
}

int saveFile_303(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources, CONFIG_STRUCT* config)
{
    if (path == nullptr || config == nullptr) {
        logMsg(1, "saveFile: null argument\n");
        return -1;
    }
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    try {
        return dorne::writeView(path, elements, sources, *config);
    } catch (...) { // the temporary file's name could not be made
        logMsg(1, "saveFile: out of memory\n");
        return -1;
    }
}
