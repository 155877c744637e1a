#ifndef ORLO_TESTSUPPORT_H
#define ORLO_TESTSUPPORT_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <string>

namespace testsupport {

// A temporary folder that is removed with the object.
class TempDir
{
public:
    TempDir();
    QString path() const;
    std::string str() const;
    QString file(const QString& name) const;
    std::string fileStr(const QString& name) const;

private:
    QTemporaryDir mDir;
};

QByteArray readFile(const QString& path);
bool writeFile(const QString& path, const QByteArray& data);

struct ProcessResult
{
    int exitCode = -1;
    bool finished = false;
    QString output;
};

// Runs a program with extra environment entries ("NAME=value"), waiting at
// most timeoutMs; the process is killed when it runs longer.
ProcessResult runProcess(const QString& program, const QStringList& args, const QStringList& env,
                         const QString& workDir, int timeoutMs);

QString bundleResources();
QString executablePath();
QString binaryDir();
// The folder of the test artifacts (screenshots) in the build folder, made
// when missing.
QString artifactsDir();
QString sourceDir();

} // namespace testsupport

#endif
