// The binary view file: header, revision dispatch, the body loop shared by
// every revision, the view block of 3.01 to 3.03, and the writer's frame
// (revision 3.03 through a temporary file that replaces the old one).
#include "files/viewFile.h"

#include "dorneFiles.h"
#include "dorneLog.h"
#include "dornePlatform.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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

// Readers of revisions below 3.01 plug in here (the comment names the group
// whose reader each range takes); until then they are refused.
const RevisionEntry kRevisions[] = {
    {100, 100, nullptr, nullptr}, // 1.00 (view block: 1.02)
    {101, 101, nullptr, nullptr}, // 1.01 (view block: 1.02)
    {102, 106, nullptr, nullptr}, // 1.02
    {107, 110, nullptr, nullptr}, // 1.07
    {111, 112, nullptr, nullptr}, // 1.11
    {113, 116, nullptr, nullptr}, // 1.13
    {200, 200, nullptr, nullptr}, // 1.13
    {201, 201, nullptr, nullptr}, // 2.01
    {202, 202, nullptr, nullptr}, // 2.02
    {203, 203, nullptr, nullptr}, // 2.03
    {204, 204, nullptr, nullptr}, // 2.04
    {300, 300, nullptr, nullptr}, // 2.04
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

bool isElementTag(int32_t tag)
{
    return (tag >= VD_GRAPH && tag <= VD_GROUP) || (tag >= VD_TEXT_LEGACY && tag <= VD_SCISSOR);
}

// An open view file with its size; closed when it goes. Only regular files
// are read: the size bounds every count and length the file holds. Opened
// without blocking, so that a path naming a pipe is refused at once.
class OpenedFile
{
public:
    explicit OpenedFile(const char* path)
    {
        const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return;
        struct stat st;
        const bool known = fstat(fd, &st) == 0;
        if (!known || !S_ISREG(st.st_mode)) {
            const int error = !known ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
            close(fd);
            errno = error;
            return;
        }
        file_ = fdopen(fd, "rb");
        if (file_ == nullptr) {
            const int error = errno;
            close(fd);
            errno = error;
            return;
        }
        size_ = st.st_size;
    }
    ~OpenedFile()
    {
        if (file_ != nullptr)
            std::fclose(file_);
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    FILE* file() const { return file_; }
    int64_t size() const { return size_; }

private:
    FILE* file_ = nullptr;
    int64_t size_ = 0;
};

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

ViewReader::ViewReader(FILE* file, const char* who, const char* path, int64_t size)
    : file_(file), who_(who), path_(path), left_(size)
{
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
    // The size comes from the file system; a file that shrinks while it is
    // read ends early all the same.
    if (n > left_ || std::fread(bytes, 1, size_t(n), file_) != size_t(n))
        return refuse("unexpected end of file in %s", what);
    left_ -= n;
    return true;
}

int64_t ViewReader::readUpTo(void* bytes, int64_t n)
{
    if (failed_)
        return 0;
    const size_t got = std::fread(bytes, 1, size_t(n < left_ ? n : left_), file_);
    left_ -= int64_t(got);
    return int64_t(got);
}

bool ViewReader::readInt(int32_t& value, const char* what)
{
    unsigned char b[4];
    if (!take(b, 4, what))
        return false;
    const uint32_t u = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    std::memcpy(&value, &u, sizeof value);
    return true;
}

bool ViewReader::readFloat(float& value, const char* what)
{
    int32_t bits;
    if (!readInt(bits, what))
        return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ViewReader::readFixed(char* field, int32_t n, const char* what)
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
}

void ViewContent::addSource(DD_DATA_TYPE_STRUCT* source)
{
    linkBehind(&sources, lastSource, source);
}

namespace {

// Links the list that starts at first behind the last entry of *head.
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

} // namespace

void ViewContent::adopt(ELEMENT_STRUCT** elementList, DD_DATA_TYPE_STRUCT** sourceList, CONFIG_STRUCT* target)
{
    appendList(elementList, elements);
    appendList(sourceList, sources);
    elements = nullptr;
    sources = lastSource = nullptr;
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

const RevisionGroup kRevision301 = {loadConfigFile_303, dataLoad_301, nullptr};
const RevisionGroup kRevision302 = {loadConfigFile_303, dataLoad_303, nullptr};
const RevisionGroup kRevision303 = {loadConfigFile_303, dataLoad_303, nullptr};

// ---- Writing -----------------------------------------------------------------

namespace {

// A file written beside its target under a name of its own and put in the
// target's place only when it is complete; removed otherwise. Only a regular
// file is replaced: a pipe, device or folder of that name stays as it is.
class ReplacingFile
{
public:
    explicit ReplacingFile(const char* path)
    {
        // A link keeps pointing at the file it named.
        char* resolved = realpath(path, nullptr);
        target_ = resolved != nullptr ? resolved : path;
        std::free(resolved);
        struct stat old;
        const bool hadFile = stat(target_.c_str(), &old) == 0;
        if (hadFile && !S_ISREG(old.st_mode)) {
            notRegular_ = true;
            return;
        }
        static unsigned counter = 0;
        for (int attempt = 0; attempt < 100 && file_ == nullptr; ++attempt) { // a free name
            temp_ = target_ + "." + std::to_string(getpid()) + "." +
                    std::to_string(__atomic_fetch_add(&counter, 1, __ATOMIC_RELAXED)) + ".tmp";
            // Private until the old file's permissions are copied, so that a
            // failed copy never shows its content to more readers than before.
            const int fd = open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, hadFile ? 0600 : 0666);
            if (fd < 0) {
                if (errno == EEXIST)
                    continue;
                break;
            }
            if (hadFile && fchmod(fd, old.st_mode & 07777) != 0)
                modeError_ = errno;
            file_ = fdopen(fd, "wb");
            if (file_ == nullptr) {
                const int error = errno;
                close(fd);
                unlink(temp_.c_str());
                errno = error;
            }
        }
    }
    ~ReplacingFile()
    {
        if (file_ != nullptr)
            std::fclose(file_);
        if (!committed_ && !temp_.empty())
            unlink(temp_.c_str());
    }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    FILE* file() const { return file_; }
    // The target exists and is not a regular file: nothing was created.
    bool notRegular() const { return notRegular_; }
    // Why the old file's permissions could not be given to the new one; 0
    // when they were (or there was no old file).
    int modeError() const { return modeError_; }

    // Flushes, syncs and closes the file, then renames it over the target.
    // False, with errno, when any of them fails.
    bool commit()
    {
        bool ok = std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
        int error = errno;
        if (std::fclose(file_) != 0 && ok) {
            ok = false;
            error = errno;
        }
        file_ = nullptr;
        if (ok && std::rename(temp_.c_str(), target_.c_str()) != 0) {
            ok = false;
            error = errno;
        }
        if (!ok) {
            errno = error;
            return false;
        }
        committed_ = true;
        syncFolder();
        return true;
    }

private:
    // Makes the rename itself durable; a folder that cannot be synced
    // leaves the file written all the same.
    void syncFolder() const
    {
        const size_t slash = target_.rfind('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target_.substr(0, slash);
        const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            (void)fsync(fd);
            close(fd);
        }
    }

    std::string target_;
    std::string temp_;
    FILE* file_ = nullptr;
    bool committed_ = false;
    bool notRegular_ = false;
    int modeError_ = 0;
};

bool writeViewBlock(FILE* file, const CONFIG_STRUCT& config)
{
    return VPutFFloat(config.x, file) && VPutFFloat(config.y, file) && VPutFFloat(config.width, file) &&
           VPutFFloat(config.height, file) && VPutFFloat(config.r, file) && VPutFFloat(config.g, file) &&
           VPutFFloat(config.b, file) && VPutFInt(0, file) && VPutFInt(0, file) && VPutFInt(0, file) &&
           VPutFInt(0, file);
}

// Writes revision release / 100 . release % 100 to path; 0 or -1 (logged).
int saveFile_303(const char* path, DD_DATA_TYPE_STRUCT* sources, const CONFIG_STRUCT& config, int release)
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
    const int major = release / 100;
    const int minor = release % 100;
    char header[kHeaderText] = {};
    std::snprintf(header, sizeof header, "VIEW FILE %d.%d\n", major, minor);
    FILE* file = out.file();
    const bool written = VPutFString(header, file, kHeaderText) && VPutFInt(major, file) &&
                         VPutFInt(minor, file) && writeViewBlock(file, config) && VPutFInt(kSourceTag, file) &&
                         dataSave_303(file, sources);
    if (!written || !out.commit()) {
        logMsg(1, "saveFile: %s: cannot write: %s\n", path, std::strerror(errno));
        return -1;
    }
    return 0;
}

} // namespace

} // namespace dorne

using dorne::OpenedFile;
using dorne::ViewContent;
using dorne::ViewReader;

int loadFile(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
{
    if (path == nullptr || elements == nullptr || sources == nullptr || config == nullptr) {
        logMsg(1, "loadFile: null argument\n");
        return -1;
    }
    OpenedFile opened(path);
    if (opened.file() == nullptr) {
        logMsg(1, "cannot open file %s\n", path);
        return -1;
    }
    ViewReader in(opened.file(), "loadFile", path, opened.size());
    const dorne::RevisionGroup* group = dorne::readRevision(in, path, false);
    if (group == nullptr)
        return -1;
    ViewContent content(*config);
    if (!dorne::readBody(in, content, *group))
        return -1; // content frees what was read
    content.adopt(elements, sources, config);
    for (ELEMENT_STRUCT* e = *elements; e != nullptr; e = e->next)
        dorne::definitionLoad(e);
    return 0;
}

int loadConfigFile(const char* path, CONFIG_STRUCT* config)
{
    if (path == nullptr || config == nullptr) {
        logMsg(1, "loadConfigFile: null argument\n");
        return -1;
    }
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
    if (elements != nullptr) {
        logMsg(1, "saveFile: %s: element records are not supported\n", path);
        return -1;
    }
    try {
        return dorne::saveFile_303(path, sources, *config, release);
    } catch (...) { // the temporary file's name could not be made
        logMsg(1, "saveFile: out of memory\n");
        return -1;
    }
}
