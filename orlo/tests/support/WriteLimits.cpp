#include "WriteLimits.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace testsupport {

FileSizeLimit::FileSizeLimit(long long bytes)
{
    getrlimit(RLIMIT_FSIZE, &mOld);
    mOldHandler = signal(SIGXFSZ, SIG_IGN);
    struct rlimit lower = mOld;
    lower.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &lower);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &mOld);
    signal(SIGXFSZ, mOldHandler);
}

namespace {

// One private mount namespace for the thread that runs the tests; mounts
// made in it do not propagate back.
bool privateNamespace(QString& why)
{
    static int state = 0;  // 0 not tried, 1 ready, -1 refused
    static QString reason;
    if (state == 0) {
        if (unshare(CLONE_NEWNS) != 0) {
            reason = QStringLiteral("unshare: ") + QString::fromLocal8Bit(strerror(errno));
            state = -1;
        } else if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) {
            reason = QStringLiteral("private /: ") + QString::fromLocal8Bit(strerror(errno));
            state = -1;
        } else {
            state = 1;
        }
    }
    why = reason;
    return state == 1;
}

} // namespace

SmallFileSystem::SmallFileSystem(long long bytes)
{
    if (!mDir.isValid()) {
        mWhyNot = QStringLiteral("no temporary folder");
        return;
    }
    if (!privateNamespace(mWhyNot))
        return;
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0755";
    if (mount("tmpfs", QFile::encodeName(mDir.path()).constData(), "tmpfs", MS_NOSUID | MS_NODEV,
              options.constData()) != 0) {
        mWhyNot = QStringLiteral("mount: ") + QString::fromLocal8Bit(strerror(errno));
        return;
    }
    mMounted = true;
}

SmallFileSystem::~SmallFileSystem()
{
    if (mMounted)
        umount2(QFile::encodeName(mDir.path()).constData(), MNT_DETACH);
}

long long SmallFileSystem::freeBytes() const
{
    struct statvfs fs;
    if (statvfs(QFile::encodeName(mDir.path()).constData(), &fs) != 0)
        return -1;
    return static_cast<long long>(fs.f_bavail) * static_cast<long long>(fs.f_frsize);
}

bool SmallFileSystem::makeReadOnly()
{
    return mMounted && mount("none", QFile::encodeName(mDir.path()).constData(), nullptr,
                             MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

bool SmallFileSystem::fill(long long leave)
{
    if (!mMounted)
        return false;
    const QByteArray name = QFile::encodeName(mDir.path() + "/filler");
    const int fd = open(name.constData(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return false;
    const std::vector<char> chunk(4096, 'f');
    while (freeBytes() > leave) {
        if (write(fd, chunk.data(), chunk.size()) <= 0)
            break;
    }
    close(fd);
    return freeBytes() <= leave;
}

} // namespace testsupport
