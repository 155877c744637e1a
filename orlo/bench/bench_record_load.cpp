// Loads a generated card of record files with readRecordData and compares
// the time with two baselines on the same files, each run in a fresh
// process (as the application meets a card: its memory is new to it):
//
//   cat    reads every file into one reused buffer, as `cat` would;
//   lean   the plain way to a sorted card: maps the files, one array of
//          times, one 32-bit index sorted stably by time (std::stable_sort);
//   load   Record::readRecordData, with everything the workstation needs.
//
// Lean and load must give the same messages in the same order (checked by a
// hash of the sorted records). Each round runs the three once; the figures
// are printed as min, median and max over the rounds, with the machine's
// load average before and after.
//
//   bench_record_load [messages] [files] [rounds]   (default 10000000 8 5)

#include "BenchSupport.h"
#include "Record.h"
#include "RecordEntry.h"
#include "SampleCard.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int HeaderSize = 128;
constexpr int RecordSize = KAVO::RecordEntry::RecordSize;

uint64_t hashBytes(uint64_t h, const void* data, std::size_t n)
{
    const auto* p = static_cast<const uint8_t*>(data);
    for (std::size_t i = 0; i < n; ++i)
        h = (h ^ p[i]) * 0x100000001B3ull;
    return h;
}

QStringList cardFiles(const QString& folder)
{
    QStringList files;
    for (const QString& name : QDir(folder).entryList({"*.CAN"}, QDir::Files, QDir::Name))
        files << folder + "/" + name;
    return files;
}

double seconds(const QElapsedTimer& t) { return t.nsecsElapsed() * 1e-9; }

// Every file into one reused buffer.
void runCat(const QStringList& files)
{
    std::vector<char> buffer(1 << 20);
    long long bytes = 0;
    unsigned sum = 0;
    QElapsedTimer timer;
    timer.start();
    for (const QString& path : files) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd < 0)
            continue;
        for (;;) {
            const ssize_t n = ::read(fd, buffer.data(), buffer.size());
            if (n <= 0)
                break;
            bytes += n;
            sum += static_cast<unsigned char>(buffer[static_cast<std::size_t>(n) / 2]);
        }
        ::close(fd);
    }
    printf("RESULT time=%.6f bytes=%lld sum=%u\n", seconds(timer), bytes, sum);
}

// Maps the files and sorts one index by time, nothing more.
void runLean(const QStringList& files)
{
    const long long rssBefore = bench::statusValue("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    struct File
    {
        const uint8_t* records;
        uint32_t count;
        bool swap;
    };
    std::vector<File> mapped;
    std::vector<std::pair<void*, std::size_t>> maps;
    uint32_t total = 0;
    for (const QString& path : files) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        struct stat st;
        if (fd < 0 || fstat(fd, &st) != 0 || st.st_size < HeaderSize) {
            if (fd >= 0)
                ::close(fd);
            continue;
        }
        void* p = mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        ::close(fd);
        if (p == MAP_FAILED)
            continue;
        maps.emplace_back(p, static_cast<std::size_t>(st.st_size));
        const auto* bytes = static_cast<const uint8_t*>(p);
        uint16_t mark;
        std::memcpy(&mark, bytes, 2);
        const uint32_t count = static_cast<uint32_t>((st.st_size - HeaderSize) / RecordSize);
        mapped.push_back({bytes + HeaderSize, count, mark != 0xABBA});
        total += count;
    }
    std::vector<double> times(total);
    std::vector<uint32_t> index(total);
    uint32_t g = 0;
    for (const File& f : mapped) {
        for (uint32_t i = 0; i < f.count; ++i, ++g) {
            times[g] = KAVO::RecordEntry::recordTime(f.records + std::size_t(i) * RecordSize, f.swap);
            index[g] = g;
        }
    }
    std::stable_sort(index.begin(), index.end(), [&times](uint32_t a, uint32_t b) { return times[a] < times[b]; });
    const double elapsed = seconds(timer);
    const long long hwm = bench::statusValue("VmHWM:");

    // Not timed: the records in that order, as the loader keeps them.
    std::vector<uint32_t> firstOf;
    uint32_t at = 0;
    for (const File& f : mapped) {
        firstOf.push_back(at);
        at += f.count;
    }
    uint64_t h = 0xCBF29CE484222325ull;
    KAVO::RecordEntry e;
    for (uint32_t k : index) {
        const std::size_t f = static_cast<std::size_t>(std::upper_bound(firstOf.begin(), firstOf.end(), k) - firstOf.begin()) - 1;
        e.fromRecord(mapped[f].records + std::size_t(k - firstOf[f]) * RecordSize, mapped[f].swap, false);
        h = hashBytes(h, &e, RecordSize);
    }
    for (const auto& m : maps)
        munmap(m.first, m.second);
    printf("RESULT time=%.6f messages=%u peak=%lld hash=%016llx\n", elapsed, total, hwm - rssBefore,
           static_cast<unsigned long long>(h));
}

// The workstation's reader.
void runLoad(const QStringList& files)
{
    const long long rssBefore = bench::statusValue("VmRSS:");
    auto record = std::make_unique<KAVO::Record>();
    QElapsedTimer timer;
    double elapsed = 0.0;
    {
        const bench::QuietStdout quiet;
        timer.start();
        record->readRecordData(files);
        elapsed = seconds(timer);
    }
    const long long hwm = bench::statusValue("VmHWM:");
    uint64_t h = 0xCBF29CE484222325ull;
    for (const KAVO::RecordEntry& e : record->rawData().entries)
        h = hashBytes(h, &e, RecordSize);
    printf("RESULT time=%.6f messages=%d peak=%lld hash=%016llx\n", elapsed, record->recordData().nrRecords,
           hwm - rssBefore, static_cast<unsigned long long>(h));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && strcmp(argv[1], "--child") == 0) {
        const QString mode = argv[2];
        const QStringList files = cardFiles(argv[3]);
        if (mode == "cat")
            runCat(files);
        else if (mode == "lean")
            runLean(files);
        else
            runLoad(files);
        return 0;
    }

    setvbuf(stdout, nullptr, _IOLBF, 0);
    QTemporaryDir dir;
    bench::Rounds setup;
    if (!bench::cardForRounds(argc, argv, dir, setup))
        return 1;

    std::vector<double> cat, lean, load, perCat, perLean, peak, leanPeak, peakTotal;
    bool same = true;
    int loaded = 0;
    const QString folder = dir.path() + "/card";
    for (int r = 0; r < setup.rounds; ++r) {
        auto c = bench::runChild({"--child", "cat", folder});
        auto l = bench::runChild({"--child", "lean", folder});
        auto d = bench::runChild({"--child", "load", folder});
        if (c.empty() || l.empty() || d.empty())
            return 1;
        const double tc = c["time"].toDouble(), tl = l["time"].toDouble(), td = d["time"].toDouble();
        loaded = d["messages"].toInt();
        const double n = std::max(1, loaded);
        printf("round %d                cat %.3f s, lean %.3f s, load %.3f s, load peak %.1f bytes per message\n", r + 1,
               tc, tl, td, d["peak"].toDouble() / n);
        cat.push_back(tc);
        lean.push_back(tl);
        load.push_back(td);
        perCat.push_back(td / tc);
        perLean.push_back(td / tl);
        peak.push_back(d["peak"].toDouble() / n);
        leanPeak.push_back(l["peak"].toDouble() / n);
        peakTotal.push_back(d["peak"].toDouble() / 1e9);
        same = same && l["hash"] == d["hash"] && l["messages"].toInt() == loaded;
    }
    printf("load average after     %s\n", bench::loadAverage().toLocal8Bit().constData());
    printf("messages               %d (%.1f MB of record files), %d rounds, each step in a fresh process\n", loaded,
           setup.messages * RecordSize / 1e6, setup.rounds);
    bench::printSpread("cat of the files", cat, "s");
    bench::printSpread("lean reference", lean, "s");
    bench::printSpread("readRecordData", load, "s");
    bench::printSpread("load / cat", perCat, "", "%.1f");
    bench::printSpread("load / lean reference", perLean, "", "%.2f");
    bench::printSpread("peak of the load", peak, "bytes per message", "%.1f");
    bench::printSpread("peak of the load, total", peakTotal, "GB", "%.2f");
    bench::printSpread("peak of the lean reference", leanPeak, "bytes per message", "%.1f");
    printf("same sorted messages   %s\n", same ? "yes (hash of the records in order)" : "NO");
    printf("targets                <= 80 bytes per message: %s; within 1.3 x the lean reference: %s\n",
           bench::median(peak) <= 80 ? "met" : "MISSED", bench::median(perLean) <= 1.3 ? "met" : "MISSED");
    return same && loaded == setup.messages ? 0 : 1;
}
