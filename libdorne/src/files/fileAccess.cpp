#include "files/fileAccess.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace dorne {

// ---- OpenedFile --------------------------------------------------------------

OpenedFile::OpenedFile(const char* path)
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

OpenedFile::~OpenedFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
}

// ---- ReplacingFile -----------------------------------------------------------

ReplacingFile::ReplacingFile(const char* path)
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
            temp_.clear();
            break;
        }
        if (hadFile && fchmod(fd, old.st_mode & 07777) != 0)
            modeError_ = errno;
        file_ = fdopen(fd, "wb");
        if (file_ == nullptr) {
            const int error = errno;
            close(fd);
            unlink(temp_.c_str());
            temp_.clear();
            errno = error;
        }
    }
}

ReplacingFile::~ReplacingFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (!committed_ && !temp_.empty())
        unlink(temp_.c_str());
}

bool ReplacingFile::commit()
{
    if (file_ == nullptr) {
        errno = EBADF;
        return false;
    }
    // A write that failed earlier may have left nothing to flush: the
    // stream's error flag still tells.
    errno = 0;
    const bool streamFailed = std::ferror(file_) != 0;
    bool ok = !streamFailed && std::fflush(file_) == 0 && fsync(fileno(file_)) == 0;
    int error = streamFailed ? EIO : errno;
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

// Makes the rename itself durable; a folder that cannot be synced leaves the
// file written all the same.
void ReplacingFile::syncFolder() const
{
    const size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target_.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)fsync(fd);
        close(fd);
    }
}

} // namespace dorne
