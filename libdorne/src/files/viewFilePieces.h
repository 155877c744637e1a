// Inside the binary view file: what the exported per-revision pieces share.
// Each reads from a stream's position through the checked reader, bounded
// by the bytes the regular file behind the stream has left, under the
// library lock, and hands over only what it read whole.
#ifndef DORNE_VIEW_FILE_PIECES_H
#define DORNE_VIEW_FILE_PIECES_H

#include "files/viewFile.h"

#include "base/libraryLock.h"

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

} // namespace dorne

#endif
