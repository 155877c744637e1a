#ifndef ORLO_WRITELIMITS_H
#define ORLO_WRITELIMITS_H

// What makes a write fail from outside: a file-size limit and a small,
// full file system.
#include <QString>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <memory>

#include <sys/resource.h>

namespace testsupport {

// Lowers this process's file-size limit while it lives. SIGXFSZ is ignored
// meanwhile, so a write beyond the limit fails (EFBIG) instead of ending the
// process, as it does in the application.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(long long bytes);
    ~FileSizeLimit();

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct rlimit mOld;
    void (*mOldHandler)(int) = nullptr;
};

// A tmpfs of a few pages, mounted in a mount namespace of the calling
// thread's own, so the mount vanishes with the process whatever happens and
// never shows outside it. It needs the rights to mount (root); without them
// mounted() is false and whyNot() tells why.
class SmallFileSystem
{
public:
    explicit SmallFileSystem(long long bytes);
    ~SmallFileSystem();

    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return mMounted; }
    const QString& whyNot() const { return mWhyNot; }
    QString path() const { return mDir.path(); }
    long long freeBytes() const;
    // Fills the file system until at most 'leave' bytes are free (whole pages).
    bool fill(long long leave);
    // Write-protects it, as a card with its lock switch set.
    bool makeReadOnly();

private:
    QTemporaryDir mDir;
    bool mMounted = false;
    QString mWhyNot;
};

} // namespace testsupport

#endif
