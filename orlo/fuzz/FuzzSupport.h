#ifndef ORLO_FUZZSUPPORT_H
#define ORLO_FUZZSUPPORT_H

// What the fuzz targets share: a scratch folder that lives as long as the
// process, writing the input as a file, and a check that stops the run.
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

inline QTemporaryDir*& folder()
{
    static QTemporaryDir* dir = nullptr;
    return dir;
}

// Silences the readers' diagnostics, which would drown the fuzzer's own
// output, and makes the scratch folder: in memory where the system offers
// a memory file system, since every input is written as files and a disk
// file system flushes each rewritten file on its close.
inline void initialize()
{
    if (freopen("/dev/null", "w", stdout) == nullptr)
        return;
    folder() = new QTemporaryDir(QStringLiteral("/dev/shm/orlo-fuzz-XXXXXX"));
    if (!folder()->isValid()) {
        delete folder();
        folder() = new QTemporaryDir();
    }
    // libFuzzer ends with exit(): the folder goes with the process.
    atexit([] { delete folder(); });
}

inline void writeBytes(const QString& path, const uint8_t* data, size_t size)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        abort();
    if (size > 0 && f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) != static_cast<qint64>(size))
        abort();
}

inline void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

} // namespace fuzzsupport

#endif
