#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

namespace testsupport {

TempDir::TempDir()
    : mDir(QDir::tempPath() + "/orlo-test-XXXXXX")
{
}

QString TempDir::path() const
{
    return mDir.path();
}

std::string TempDir::str() const
{
    return mDir.path().toStdString();
}

QString TempDir::file(const QString& name) const
{
    return mDir.path() + "/" + name;
}

std::string TempDir::fileStr(const QString& name) const
{
    return file(name).toStdString();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    return f.write(data) == data.size();
}

ProcessResult runProcess(const QString& program, const QStringList& args, const QStringList& env,
                         const QString& workDir, int timeoutMs)
{
    ProcessResult r;
    QProcess p;
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    for (const QString& kv : env) {
        const int eq = kv.indexOf('=');
        e.insert(kv.left(eq), kv.mid(eq + 1));
    }
    p.setProcessEnvironment(e);
    p.setProcessChannelMode(QProcess::MergedChannels);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished(5000);
    }
    r.exitCode = p.exitCode();
    r.output = QString::fromLocal8Bit(p.readAll());
    return r;
}

QString bundleResources()
{
    return QStringLiteral(ORLO_BUNDLE_RES);
}

QString executablePath()
{
    return QStringLiteral(ORLO_EXECUTABLE);
}

QString binaryDir()
{
    return QStringLiteral(ORLO_BINARY_DIR);
}

QString artifactsDir()
{
    const QString dir = binaryDir() + "/artifacts";
    QDir().mkpath(dir);
    return dir;
}

QString sourceDir()
{
    return QStringLiteral(ORLO_SOURCE_DIR);
}

} // namespace testsupport
