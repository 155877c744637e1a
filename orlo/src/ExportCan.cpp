#include "ExportCan.h"

#include "Notifier.h"
#include "Record.h"
#include "SafeFile.h"

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <vector>

namespace KAVO {

namespace {

constexpr int FlushSize = 1 << 20;
constexpr bool HostIsBigEndian = Q_BYTE_ORDER == Q_BIG_ENDIAN;

} // namespace

bool ExportCan::headerIsBigEndian(const uint8_t* header)
{
    uint16_t mark = 0;
    std::memcpy(&mark, header, sizeof mark);
    // The mark read in host order equals 0xABBA: the file has the host's
    // order; any other mark is read in the opposite order.
    return mark == 0xABBA ? HostIsBigEndian : !HostIsBigEndian;
}

template <typename T>
bool ExportCan::putValue(SafeFile& file, T value)
{
    const T v = mBigEndian ? qToBigEndian(value) : qToLittleEndian(value);
    return file.write(reinterpret_cast<const char*>(&v), sizeof v);
}

bool ExportCan::putChar(SafeFile& file, int8_t value) { return putValue(file, value); }
bool ExportCan::putUChar(SafeFile& file, uint8_t value) { return putValue(file, value); }
bool ExportCan::putShort(SafeFile& file, int16_t value) { return putValue(file, value); }
bool ExportCan::putUShort(SafeFile& file, uint16_t value) { return putValue(file, value); }
bool ExportCan::putInt(SafeFile& file, int32_t value) { return putValue(file, value); }
bool ExportCan::putUInt(SafeFile& file, uint32_t value) { return putValue(file, value); }

bool ExportCan::writeFile(CsvExportOptions&)
{
    return true;
}

bool ExportCan::exportData(Record& record, CsvExportOptions& options)
{
    const RecordRaw& raw = record.rawData();
    const RecordData& data = record.recordData();

    // A copy of the header: the recording keeps its own start time stamp.
    std::array<uint8_t, RecordRaw::HeaderSize> header = raw.header;
    std::fill(header.begin() + 20, header.begin() + 28, 0);
    // Records follow the order the copied header declares, so the file
    // reads back consistently whatever order its header came in.
    mBigEndian = headerIsBigEndian(header.data());
    const bool swap = mBigEndian != HostIsBigEndian;

    const QString path = QString::fromLocal8Bit(options.exportDir) + "/" + QString::fromLocal8Bit(options.fileName);
    SafeFile file(path);
    if (!file.open()) {
        printf("Could not open %s\n", path.toLocal8Bit().constData());
        return false;
    }
    printf("ExportCan::exportData: %d records to export offset %f\n\n", static_cast<int>(raw.entries.size()),
           data.offset);

    // The window is taken on the common timeline: a high file's messages
    // sit at their time plus the folder offset, so no stamp is negative.
    struct Selected
    {
        double time;
        const RecordEntry* entry;
    };
    std::vector<Selected> selected;
    bool ordered = true;
    for (const RecordEntry& entry : raw.entries) {
        const double t = data.timeOf(entry);
        if (!(options.startTime <= t && t <= options.stopTime))
            continue;
        if (!selected.empty() && t < selected.back().time)
            ordered = false;
        selected.push_back(Selected{t, &entry});
    }
    // The offset can move a high file's messages between the others; the
    // file keeps them in time order as a reader would sort them.
    if (!ordered)
        std::stable_sort(selected.begin(), selected.end(),
                         [](const Selected& a, const Selected& b) { return a.time < b.time; });

    QByteArray out;
    out.reserve(FlushSize + RecordRaw::HeaderSize + RecordEntry::RecordSize);
    out.append(reinterpret_cast<const char*>(header.data()), RecordRaw::HeaderSize);
    char record28[RecordEntry::RecordSize];
    int reported = 0;
    for (std::size_t i = 0; i < selected.size(); ++i) {
        const Selected& s = selected[i];
        // The status bar follows in steps of whole percents.
        if ((i & 4095) == 0) {
            const int percent = static_cast<int>(static_cast<double>(i) / static_cast<double>(selected.size()) * 100);
            if (percent != reported) {
                reported = percent;
                Notifier::progress(percent);
            }
        }
        RecordEntry e = *s.entry;
        RecordEntry::secondsToTicks(s.time - options.startTime, e.tickHigh, e.tickLow);
        e.toRecord(reinterpret_cast<uint8_t*>(record28), swap);
        out.append(record28, RecordEntry::RecordSize);
        if (out.size() >= FlushSize) {
            if (!file.write(out))
                return false;
            out.resize(0);
        }
    }
    if (!file.write(out))
        return false;
    return file.commit();
}

} // namespace KAVO
