// Opening the view engine's files: readers take regular files only (their
// size bounds what they read), and a written file goes to a name of its own
// beside the target and replaces the target only when it is complete.
#ifndef DORNE_FILE_ACCESS_H
#define DORNE_FILE_ACCESS_H

#include <cstdint>
#include <cstdio>
#include <string>

namespace dorne {

// An open file with its size; closed when it goes. Only regular files are
// opened, without blocking, so that a path naming a pipe is refused at once.
// file() is null when the path cannot be opened or is no regular file
// (errno tells why: EISDIR for a folder, EINVAL for any other kind).
class OpenedFile
{
public:
    explicit OpenedFile(const char* path);
    ~OpenedFile();
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    FILE* file() const { return file_; }
    int64_t size() const { return size_; }

private:
    FILE* file_ = nullptr;
    int64_t size_ = 0;
};

// A file written beside its target under a name of its own and put in the
// target's place only when it is complete; removed otherwise. Only a regular
// file is replaced: a pipe, device or folder of that name stays as it is. A
// link at the target keeps pointing at the file it named. May throw
// std::bad_alloc while the names are made.
class ReplacingFile
{
public:
    explicit ReplacingFile(const char* path);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Null when the file could not be created (errno tells why).
    FILE* file() const { return file_; }
    // The target exists and is not a regular file: nothing was created.
    bool notRegular() const { return notRegular_; }
    // Why the old file's permissions could not be given to the new one; 0
    // when they were (or there was no old file).
    int modeError() const { return modeError_; }

    // Flushes, syncs and closes the file, then renames it over the target.
    // False, with errno, when any of them fails or the stream holds a write
    // error.
    bool commit();

private:
    void syncFolder() const;

    std::string target_;
    std::string temp_;
    FILE* file_ = nullptr;
    bool committed_ = false;
    bool notRegular_ = false;
    int modeError_ = 0;
};

} // namespace dorne

#endif
