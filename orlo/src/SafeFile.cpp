#include "SafeFile.h"

#include <cstdio>

namespace KAVO {

SafeFile::SafeFile(const QString& path)
    : mPath(path)
    , mFile(path)
{
}

SafeFile::~SafeFile()
{
    if (!mDone)
        cancel();
}

void SafeFile::report(const char* what)
{
    printf("could not %s file <%s>: %s\n", what, mPath.toLocal8Bit().constData(),
           mFile.errorString().toLocal8Bit().constData());
}

bool SafeFile::open()
{
    if (mPath.isEmpty() || !mFile.open(QIODevice::WriteOnly)) {
        report("open");
        mFailed = true;
        return false;
    }
    return true;
}

bool SafeFile::isOpen() const
{
    return mFile.isOpen();
}

bool SafeFile::write(const char* data, qint64 size)
{
    if (mFailed || !mFile.isOpen())
        return false;
    qint64 done = 0;
    while (done < size) {
        const qint64 n = mFile.write(data + done, size - done);
        if (n <= 0) {
            report("write");
            mFailed = true;
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
    if (mFailed || !mFile.isOpen()) {
        mFile.cancelWriting();
        if (mFile.isOpen())
            mFile.commit();
        return false;
    }
    if (!mFile.commit()) {
        report("write");
        return false;
    }
    return true;
}

void SafeFile::cancel()
{
    mDone = true;
    if (mFile.isOpen()) {
        mFile.cancelWriting();
        mFile.commit(); // discards the temporary file
    }
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

} // namespace KAVO
