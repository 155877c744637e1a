#ifndef ORLO_BENCHSUPPORT_H
#define ORLO_BENCHSUPPORT_H

// Memory figures and a quiet standard output for the benchmark programs.

#include "SampleCard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace bench {

// A field of /proc/self/status ("VmRSS:", "VmHWM:") in bytes, -1 when unknown.
inline long long statusValue(const char* key)
{
    FILE* f = fopen("/proc/self/status", "r");
    if (f == nullptr)
        return -1;
    char line[256];
    long long kb = -1;
    const std::size_t n = strlen(key);
    while (fgets(line, sizeof line, f) != nullptr) {
        if (strncmp(line, key, n) == 0) {
            kb = atoll(line + n);
            break;
        }
    }
    fclose(f);
    return kb < 0 ? -1 : kb * 1024;
}

// Makes the peak start again from the present size (Linux 4.0 and later).
inline bool resetPeak()
{
    FILE* f = fopen("/proc/self/clear_refs", "w");
    if (f == nullptr)
        return false;
    const bool ok = fputs("5", f) >= 0;
    return fclose(f) == 0 && ok;
}

// Sends standard output to /dev/null while it lives (diagnostics of the
// code under measurement), then restores it.
class QuietStdout
{
public:
    QuietStdout()
    {
        fflush(stdout);
        mSaved = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            close(null);
        }
    }
    ~QuietStdout()
    {
        fflush(stdout);
        if (mSaved >= 0) {
            dup2(mSaved, 1);
            close(mSaved);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int mSaved = -1;
};

// Writes a sample card into the folder "card" of a new temporary folder;
// null (with a diagnostic) when anything could not be written.
inline std::unique_ptr<KAVO::SampleCard> sampleCard(const QTemporaryDir& dir, long long messages, int files)
{
    if (!dir.isValid()) {
        printf("could not create a temporary folder\n");
        return nullptr;
    }
    KAVO::SampleCard::Options options;
    options.folder = dir.path() + "/card";
    options.messages = messages;
    options.files = files;
    auto card = std::make_unique<KAVO::SampleCard>(options);
    if (!card->write())
        return nullptr;
    return card;
}

// A benchmark that runs its rounds in fresh processes: messages, files and
// rounds from the command line (by default 10 million messages in 8 files,
// 5 rounds); the card is written into `dir`, and how long that took and the
// machine's load are printed. Null when the card could not be written.
struct Rounds
{
    long long messages = 10000000LL;
    int files = 8;
    int rounds = 5;
};
QString loadAverage();
inline std::unique_ptr<KAVO::SampleCard> cardForRounds(int argc, char** argv, const QTemporaryDir& dir, Rounds& r)
{
    if (argc > 1)
        r.messages = atoll(argv[1]);
    if (argc > 2)
        r.files = atoi(argv[2]);
    if (argc > 3)
        r.rounds = std::max(1, atoi(argv[3]));
    QElapsedTimer timer;
    timer.start();
    auto card = sampleCard(dir, r.messages, r.files);
    if (card) {
        printf("generated %lld messages in %d files in %.2f s\n", r.messages, r.files, timer.nsecsElapsed() * 1e-9);
        printf("load average before    %s\n", loadAverage().toLocal8Bit().constData());
    }
    return card;
}

// The machine's load average over 1, 5 and 15 minutes.
inline QString loadAverage()
{
    QFile f("/proc/loadavg");
    if (!f.open(QIODevice::ReadOnly))
        return "unknown";
    return QString::fromLatin1(f.readAll()).section(' ', 0, 2);
}

// Runs this program again with the arguments (a measurement in a fresh
// process) and gives the fields of its line "RESULT key=value ..."; empty
// when it failed.
inline std::map<QString, QString> runChild(const QStringList& arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    std::map<QString, QString> values;
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        printf("the run %s failed\n", arguments.join(' ').toLocal8Bit().constData());
        return values;
    }
    for (const QByteArray& line : child.readAllStandardOutput().split('\n')) {
        if (!line.startsWith("RESULT "))
            continue;
        for (const QByteArray& field : line.mid(7).split(' ')) {
            const int eq = field.indexOf('=');
            if (eq > 0)
                values[QString::fromLatin1(field.left(eq))] = QString::fromLatin1(field.mid(eq + 1));
        }
    }
    return values;
}

// One figure over the rounds: min, median and max.
inline void printSpread(const char* what, std::vector<double> v, const char* unit, const char* format = "%.3f")
{
    if (v.empty())
        return;
    std::sort(v.begin(), v.end());
    char line[256];
    const std::string f = std::string("%-34s min ") + format + "  median " + format + "  max " + format + " %s\n";
    snprintf(line, sizeof line, f.c_str(), what, v.front(), v[v.size() / 2], v.back(), unit);
    fputs(line, stdout);
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

} // namespace bench

#endif
