// Loads a generated card of record files and prints how fast the whole
// readRecordData (reading, filing and the time sort) runs, compared with a
// plain read of the same bytes in the same run, and its peak memory per
// message.
//
//   bench_record_load [messages] [files]      (default 10000000 messages in 8 files)

#include "BenchSupport.h"
#include "Record.h"
#include "SampleCard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

// User and system CPU seconds of the process so far, and its page faults.
void cpuTimes(double& user, double& system, long& faults)
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    user = u.ru_utime.tv_sec + u.ru_utime.tv_usec * 1e-6;
    system = u.ru_stime.tv_sec + u.ru_stime.tv_usec * 1e-6;
    faults = u.ru_minflt + u.ru_majflt;
}

// Reads every file whole into one buffer, as the loader does.
double plainRead(const QStringList& files, long long& bytes)
{
    long long total = 0;
    for (const QString& f : files)
        total += QFileInfo(f).size();
    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(total)]);
    long long at = 0;
    for (const QString& path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            continue;
        const qint64 size = f.size();
        qint64 got = 0;
        while (got < size) {
            const qint64 n = f.read(buffer.get() + at + got, size - got);
            if (n <= 0)
                break;
            got += n;
        }
        at += got;
    }
    // Touch the result so the read cannot be dropped.
    volatile char sink = buffer[static_cast<std::size_t>(at / 2)];
    (void)sink;
    bytes = at;
    return timer.nsecsElapsed() * 1e-9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const long long messages = argc > 1 ? atoll(argv[1]) : 10000000LL;
    const int files = argc > 2 ? atoi(argv[2]) : 8;

    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    const auto card = bench::sampleCard(dir, messages, files);
    if (!card)
        return 1;
    printf("generated %lld messages in %d files in %.2f s\n", messages, files, timer.nsecsElapsed() * 1e-9);

    long long bytes = 0;
    double plain = plainRead(card->files(), bytes);

    // Quiet the loader's per-file lines while timing.
    const bool peakReset = bench::resetPeak();
    const long long rssBefore = bench::statusValue("VmRSS:");
    const long long hwmBefore = bench::statusValue("VmHWM:");
    double load = 0.0;
    double user0 = 0, sys0 = 0, user1 = 0, sys1 = 0;
    long faults0 = 0, faults1 = 0;
    long long hwmAfter = 0;
    int loaded = 0;
    {
        const bench::QuietStdout quiet;
        auto record = std::make_unique<KAVO::Record>();
        cpuTimes(user0, sys0, faults0);
        timer.restart();
        record->readRecordData(card->files());
        load = timer.nsecsElapsed() * 1e-9;
        cpuTimes(user1, sys1, faults1);
        hwmAfter = bench::statusValue("VmHWM:");
        loaded = record->recordData().nrRecords;
    }

    long long bytes2 = 0;
    plain = std::min(plain, plainRead(card->files(), bytes2));

    const long long base = peakReset ? rssBefore : hwmBefore;
    const double perMessage = loaded > 0 ? static_cast<double>(hwmAfter - base) / loaded : 0.0;
    printf("messages loaded        %d (%.1f MB of record files)\n", loaded, bytes / 1e6);
    printf("readRecordData         %.3f s, %.2f million messages/s\n", load, loaded / load / 1e6);
    printf("  of it CPU            %.3f s user, %.3f s system, %ld page faults\n", user1 - user0, sys1 - sys0,
           faults1 - faults0);
    printf("plain read             %.3f s, %.2f million messages/s\n", plain, loaded / plain / 1e6);
    printf("load / plain read      %.2f\n", load / plain);
    printf("peak memory            %.1f bytes per message%s\n", perMessage,
           peakReset ? "" : " (peak could not be reset; includes the generator)");
    return loaded == messages ? 0 : 1;
}
