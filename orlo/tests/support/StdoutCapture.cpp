#include "StdoutCapture.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace testsupport {

StdoutCapture::StdoutCapture()
{
    fflush(stdout);
    char name[] = "/tmp/orlo_stdout_XXXXXX";
    mFile = mkstemp(name);
    if (mFile < 0)
        return;
    unlink(name);
    mSaved = dup(STDOUT_FILENO);
    dup2(mFile, STDOUT_FILENO);
}

StdoutCapture::~StdoutCapture()
{
    stop();
}

void StdoutCapture::stop()
{
    if (mSaved < 0)
        return;
    fflush(stdout);
    dup2(mSaved, STDOUT_FILENO);
    close(mSaved);
    mSaved = -1;

    QByteArray bytes;
    lseek(mFile, 0, SEEK_SET);
    char buffer[4096];
    ssize_t n;
    while ((n = read(mFile, buffer, sizeof(buffer))) > 0)
        bytes.append(buffer, static_cast<int>(n));
    close(mFile);
    mFile = -1;
    mText = QString::fromLocal8Bit(bytes);
}

QString StdoutCapture::text()
{
    stop();
    return mText;
}

} // namespace testsupport
