#ifndef ORLO_SAFEFILE_H
#define ORLO_SAFEFILE_H

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QFile;

namespace KAVO {

// Every file the application writes goes through here: the bytes land in a
// temporary file beside the target, which replaces the target only when
// every write, the sync to the disk and the close succeeded. Any failure
// prints a diagnostic, removes the temporary file and leaves the target as
// it was. Writes are not buffered, so a full disk or a file-size limit is
// seen at the write that meets it.
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
    // Replaces the target; false when any step failed (the target then
    // stays byte for byte as it was).
    bool commit();
    // Drops the temporary file; the target stays as it was.
    void cancel();

    bool isOpen() const { return mFd >= 0; }
    QString path() const { return mPath; }
    // Why the last step failed (the system's text), empty while all went well.
    const QString& errorString() const { return mError; }

    static bool writeAll(const QString& path, const QByteArray& data);

    enum OpenResult { Opened, NotOpened, NotRegular };
    // Opens a file for reading only when it is a regular file (a named pipe
    // would block, a device never end); 'error' gets the reason otherwise.
    static OpenResult openForReading(QFile& file, const QString& path, QIODevice::OpenMode extraMode = {},
                                     QString* error = nullptr);

private:
    void fail(const char* what, int error);
    void fail(const char* what, const QString& reason);
    void dropTemporary();

    QString mPath;
    QByteArray mTarget;     // the file that is replaced (symbolic links followed)
    QByteArray mTemporary;  // the temporary file beside it
    int mFd = -1;
    bool mFailed = false;
    bool mDone = false;
    QString mError;
};

} // namespace KAVO

#endif
