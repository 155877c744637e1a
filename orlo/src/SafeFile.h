#ifndef ORLO_SAFEFILE_H
#define ORLO_SAFEFILE_H

#include <QByteArray>
#include <QSaveFile>
#include <QString>

namespace KAVO {

// Every file the application writes goes through here: the bytes land in a
// temporary file beside the target, which replaces the target only when
// everything was written. Failures print a diagnostic and return false.
class SafeFile
{
public:
    explicit SafeFile(const QString& path);
    ~SafeFile();

    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    bool open();
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& data);
    // Replaces the target; false when any write failed or the rename failed.
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void cancel();

    bool isOpen() const;
    QString path() const { return mPath; }

    static bool writeAll(const QString& path, const QByteArray& data);

private:
    void report(const char* what);

    QString mPath;
    QSaveFile mFile;
    bool mFailed = false;
    bool mDone = false;
};

} // namespace KAVO

#endif
