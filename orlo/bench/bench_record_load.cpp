// Loads a generated card of record files and prints how fast the whole
// readRecordData (reading, filing and the time sort) runs, compared with a
// plain read of the same bytes in the same run, and its peak memory per
// message.
//
//   bench_record_load [messages] [files]      (default 10000000 messages in 8 files)

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
#include <unistd.h>

namespace {

// Resident set size and its peak, in bytes, from /proc/self/status.
long long statusValue(const char* key)
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
bool resetPeak()
{
    FILE* f = fopen("/proc/self/clear_refs", "w");
    if (f == nullptr)
        return false;
    const bool ok = fputs("5", f) >= 0;
    return fclose(f) == 0 && ok;
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
    if (!dir.isValid()) {
        printf("could not create a temporary folder\n");
        return 1;
    }
    KAVO::SampleCard::Options options;
    options.folder = dir.path() + "/card";
    options.messages = messages;
    options.files = files;
    KAVO::SampleCard card(options);
    QElapsedTimer timer;
    timer.start();
    if (!card.write())
        return 1;
    printf("generated %lld messages in %d files in %.2f s\n", messages, files, timer.nsecsElapsed() * 1e-9);

    long long bytes = 0;
    double plain = plainRead(card.files(), bytes);

    // Quiet the loader's per-file lines while timing.
    fflush(stdout);
    const int savedOut = dup(1);
    const bool peakReset = resetPeak();
    const long long rssBefore = statusValue("VmRSS:");
    const long long hwmBefore = statusValue("VmHWM:");
    double load = 0.0;
    long long hwmAfter = 0;
    int loaded = 0;
    {
        FILE* devnull = freopen("/dev/null", "w", stdout);
        (void)devnull;
        auto record = std::make_unique<KAVO::Record>();
        timer.restart();
        record->readRecordData(card.files());
        load = timer.nsecsElapsed() * 1e-9;
        hwmAfter = statusValue("VmHWM:");
        loaded = record->recordData().nrRecords;
        fflush(stdout);
    }
    dup2(savedOut, 1);
    close(savedOut);
    stdout = fdopen(1, "w");

    long long bytes2 = 0;
    plain = std::min(plain, plainRead(card.files(), bytes2));

    const long long base = peakReset ? rssBefore : hwmBefore;
    const double perMessage = loaded > 0 ? static_cast<double>(hwmAfter - base) / loaded : 0.0;
    printf("messages loaded        %d (%.1f MB of record files)\n", loaded, bytes / 1e6);
    printf("readRecordData         %.3f s, %.2f million messages/s\n", load, loaded / load / 1e6);
    printf("plain read             %.3f s, %.2f million messages/s\n", plain, loaded / plain / 1e6);
    printf("load / plain read      %.2f\n", load / plain);
    printf("peak memory            %.1f bytes per message%s\n", perMessage,
           peakReset ? "" : " (peak could not be reset; includes the generator)");
    return loaded == messages ? 0 : 1;
}
