#include "SafeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace KAVO {

namespace {

QString systemText(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

// The file a write to 'path' lands in: symbolic links are followed, so that
// a linked settings file stays a link.
QString resolvedTarget(const QString& path)
{
    QFileInfo info(path);
    int depth = 128;
    while (--depth > 0 && info.isSymLink())
        info.setFile(info.symLinkTarget());
    return depth > 0 ? info.filePath() : path;
}

} // namespace

SafeFile::SafeFile(const QString& path)
    : mPath(path)
{
}

SafeFile::~SafeFile()
{
    if (!mDone)
        cancel();
}

void SafeFile::fail(const char* what, int error)
{
    fail(what, systemText(error));
}

void SafeFile::fail(const char* what, const QString& reason)
{
    mFailed = true;
    mError = reason;
    printf("could not %s file <%s>: %s\n", what, mPath.toLocal8Bit().constData(), reason.toLocal8Bit().constData());
}

void SafeFile::dropTemporary()
{
    if (mFd >= 0) {
        ::close(mFd);
        mFd = -1;
    }
    if (!mTemporary.isEmpty()) {
        ::unlink(mTemporary.constData());
        mTemporary.clear();
    }
}

bool SafeFile::open()
{
    if (mFd >= 0 || mDone)
        return false;
    if (mPath.isEmpty()) {
        fail("open", QStringLiteral("no file name"));
        return false;
    }
    const QString target = resolvedTarget(mPath);
    mTarget = QFile::encodeName(target);

    struct stat old;
    const bool exists = ::stat(mTarget.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        fail("open", QStringLiteral("not a regular file"));
        return false;
    }
    // A write-protected file is meant to stay as it is.
    if (exists && ::access(mTarget.constData(), W_OK) != 0) {
        fail("open", errno);
        return false;
    }

    const QFileInfo info(target);
    const QByteArray stem = QFile::encodeName(info.path() + "/" + info.fileName()) + ".";
    static const char Letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100 && mFd < 0; ++attempt) {
        QByteArray name = stem;
        for (int i = 0; i < 6; ++i)
            name += Letters[QRandomGenerator::global()->bounded(static_cast<int>(sizeof Letters - 1))];
        // Until the old file's permissions are copied, nobody else may read along.
        mFd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? 0600 : 0666);
        if (mFd >= 0)
            mTemporary = name;
        else if (errno != EEXIST)
            break;
    }
    if (mFd < 0) {
        fail("open", errno);
        return false;
    }
    if (exists)
        ::fchmod(mFd, old.st_mode & 07777);
    return true;
}

bool SafeFile::write(const char* data, qint64 size)
{
    if (mFailed || mFd < 0)
        return false;
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(mFd, data + done, static_cast<size_t>(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            // A write that takes nothing is a full disk all the same.
            fail("write", n < 0 ? errno : ENOSPC);
            return false;
        }
        done += n;
    }
    return true;
}

bool SafeFile::write(const QByteArray& data)
{
    return write(data.constData(), data.size());
}

bool SafeFile::commit()
{
    if (mDone)
        return false;
    mDone = true;
    if (mFailed || mFd < 0) {
        dropTemporary();
        return false;
    }
    // The data must be on the disk before the name points to it, or a crash
    // right after the rename leaves an empty file in place of the old one.
    if (::fsync(mFd) != 0) {
        fail("write", errno);
        dropTemporary();
        return false;
    }
    const int fd = mFd;
    mFd = -1;
    if (::close(fd) != 0) {
        fail("write", errno);
        dropTemporary();
        return false;
    }
    if (::rename(mTemporary.constData(), mTarget.constData()) != 0) {
        fail("replace", errno);
        dropTemporary();
        return false;
    }
    mTemporary.clear();
    // Makes the rename itself durable; the file is complete in any case.
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(mTarget)).path());
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void SafeFile::cancel()
{
    mDone = true;
    dropTemporary();
}

bool SafeFile::writeAll(const QString& path, const QByteArray& data)
{
    SafeFile f(path);
    if (!f.open())
        return false;
    if (!f.write(data)) {
        f.cancel();
        return false;
    }
    return f.commit();
}

SafeFile::OpenResult SafeFile::openForReading(QFile& file, const QString& path, QIODevice::OpenMode extraMode, QString* error)
{
    const QByteArray name = QFile::encodeName(path);
    // Without O_NONBLOCK the open of a named pipe would wait for a writer.
    const int fd = path.isEmpty() ? -1 : ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (error != nullptr)
            *error = path.isEmpty() ? QStringLiteral("no file name") : systemText(errno);
        return NotOpened;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (error != nullptr)
            *error = QStringLiteral("not a regular file");
        return NotRegular;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly | extraMode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        if (error != nullptr)
            *error = file.errorString();
        return NotOpened;
    }
    return Opened;
}

} // namespace KAVO
