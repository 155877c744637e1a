// Inside the binary view file: what the exported per-revision pieces share.
// Each reads from a stream's position through the checked reader, bounded
// by the bytes the regular file behind the stream has left, under the
// library lock, and hands over only what it read whole.
#ifndef DORNE_VIEW_FILE_PIECES_H
#define DORNE_VIEW_FILE_PIECES_H

#include "files/viewFile.h"

#include "base/libraryLock.h"

#include "dorneFiles.h"

namespace dorne {

const char kStream[] = "stream"; // stands for the path in messages

// The bytes the stream has left: the size of the regular file behind it
// less the stream's position; -1 (logged) when it has no known size.
int64_t bytesLeft(FILE* file, const char* who);

// Logs "<who>: null argument"; true.
bool nullArgument(const char* who);

// Runs read(ViewReader&) over the stream as revision under the library
// lock; 0, or -1 (logged) when the stream or what it holds is refused.
template <typename Read>
int readStream(FILE* file, const char* who, int revision, Read read)
{
    LibraryLockGuard lock(libraryLock());
    const int64_t left = bytesLeft(file, who);
    if (left < 0)
        return -1;
    ViewReader in(file, who, kStream, left);
    in.version = revision;
    return read(in) ? 0 : -1;
}

// The body (view block and tagged records), the view block alone and one
// data-source section of the group, read as revision; 0 or -1 (logged).
int loadBody(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
             const char* who, int revision, const RevisionGroup& group);
int loadBlock(FILE* file, CONFIG_STRUCT* config, const char* who, int revision, const RevisionGroup& group);
int loadSources(FILE* file, DD_DATA_TYPE_STRUCT** sources, const char* who, int revision,
                const RevisionGroup& group);

// One action list read by read(ViewReader&, ACTION_STRUCT**, ACTION_STRUCT*&)
// and appended to *actions only when read whole; 0 or -1 (logged).
template <typename Read>
int loadActionList(FILE* file, ACTION_STRUCT** actions, const char* who, int revision, Read read)
{
    if ((file == nullptr || actions == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, revision, [&](ViewReader& in) {
        ACTION_STRUCT* list = nullptr;
        ACTION_STRUCT* last = nullptr;
        if (!read(in, &list, last)) {
            while (list != nullptr)
                delAction(&list, list);
            return false;
        }
        appendList(actions, list);
        return true;
    });
}

// One element record read by read(ViewReader&, ViewContent&) and appended
// to *elements only when read whole; 0 or -1 (logged).
template <typename Read>
int loadElementRecord(FILE* file, ELEMENT_STRUCT** elements, const char* who, int revision, Read read)
{
    if ((file == nullptr || elements == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, revision, [&](ViewReader& in) {
        ViewContent content(CONFIG_STRUCT{});
        if (!read(in, content))
            return false;
        content.adopt(elements, nullptr, nullptr);
        return true;
    });
}

} // namespace dorne

#endif
