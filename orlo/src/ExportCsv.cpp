#include "ExportCsv.h"

#include "Notifier.h"
#include "Profile.h"
#include "Record.h"
#include "SafeFile.h"

#include <QColor>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include <sys/resource.h>
#include <sys/statvfs.h>

namespace KAVO {

namespace {

constexpr int FlushSize = 1 << 20;

// (long long) of a double, held inside the range instead of overflowing.
int64_t truncated(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= 9.2e18)
        return INT64_C(9200000000000000000);
    if (v <= -9.2e18)
        return -INT64_C(9200000000000000000);
    return static_cast<int64_t>(v);
}

// The bytes a file in this folder can still grow to: the free space of its
// file system, bounded by the process's file-size limit; -1 when unknown.
int64_t roomIn(const QString& folder)
{
    int64_t room = -1;
    struct statvfs fs;
    if (statvfs(QFile::encodeName(folder).constData(), &fs) == 0)
        room = static_cast<int64_t>(fs.f_bavail) * static_cast<int64_t>(fs.f_frsize);
    struct rlimit limit;
    if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        const int64_t most = static_cast<int64_t>(std::min<rlim_t>(limit.rlim_cur, INT64_MAX));
        room = room < 0 ? most : std::min(room, most);
    }
    return room;
}

} // namespace

double ExportCsv::firstTime() const
{
    return std::isinf(mFirstTime) ? 1e15 : mFirstTime;
}

int64_t ExportCsv::gridRow(double time) const
{
    return truncated(time * mRowsPerSecond + 0.5);
}

QByteArray ExportCsv::cell(const QByteArray& text, char limiter)
{
    bool quote = false;
    for (const char c : text) {
        if (c == limiter || c == '"' || c == '\n' || c == '\r') {
            quote = true;
            break;
        }
    }
    if (!quote)
        return text;
    QByteArray q;
    q.reserve(text.size() + 2);
    q += '"';
    for (const char c : text) {
        if (c == '"')
            q += '"';
        q += c;
    }
    q += '"';
    return q;
}

// Hours, minutes, seconds and milliseconds since the row of the first
// message time, truncated (not rounded), so the first row can show one step.
QByteArray ExportCsv::timeText(int64_t row) const
{
    const double r = mRowsPerSecond;
    double d = static_cast<double>(row - truncated(mFirstTime * r));
    const int hours = static_cast<int>(d / (r * 3600));
    d -= hours * r * 3600;
    const int minutes = static_cast<int>(d / (r * 60));
    d -= minutes * r * 60;
    const int seconds = static_cast<int>(d / r);
    d -= seconds * r;
    const int ms = static_cast<int>(d * mResolution);
    char text[64];
    const int n = snprintf(text, sizeof text, "%d:%02d:%02d.%03d", hours, minutes, seconds, ms);
    return QByteArray(text, std::max(0, std::min<int>(n, static_cast<int>(sizeof text) - 1)));
}

bool ExportCsv::exportData(Record& record, CsvExportOptions& options)
{
    mNames.clear();
    mColumns.clear();
    // No sentinel time: the grid starts at the first message, however late.
    mFirstTime = std::numeric_limits<double>::infinity();
    printf("Start %f Stop %f\n", options.startTime, options.stopTime);
    if (options.resolution <= 0) {
        printf("CSV export: resolution <%d> ms is not above 0\n", options.resolution);
        return false;
    }
    mResolution = options.resolution;
    mRowsPerSecond = 1 / (options.resolution * 0.001);

    int column = 0;
    for (const auto& device : Profile::instance()->data().mDevices) {
        for (const auto& item : device.second.mParameters) {
            const ProfileParameter& parameter = item.second;
            if (!options.allParameter && !parameter.mSelected)
                continue;
            fillColumn(record, ++column, parameter, options);
            mNames.append(parameter.mName.toUtf8());
        }
    }
    return writeFile(options);
}

void ExportCsv::fillColumn(Record& record, int column, const ProfileParameter& parameter, CsvExportOptions& options)
{
    if (column < 1)
        return;
    if (static_cast<int>(mColumns.size()) < column)
        mColumns.resize(static_cast<std::size_t>(column));
    Column& c = mColumns[static_cast<std::size_t>(column - 1)];
    const RecordData& data = record.recordData();
    c.parameter = &parameter;
    c.list = &data.idList(static_cast<uint32_t>(parameter.mChannel), static_cast<uint32_t>(parameter.mCanId));
    c.messages.clear();

    bool ordered = true;
    const RecordView& entries = c.list->entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double t = data.timeOf(*c.list, entries[i]);
        if (!(options.startTime <= t && t <= options.stopTime))
            continue;
        mFirstTime = std::min(mFirstTime, t);
        const int64_t row = gridRow(t);
        if (!c.messages.empty() && row < c.messages.back().row)
            ordered = false;
        c.messages.push_back(Message{row, static_cast<uint32_t>(i)});
    }
    // Lists are in reading order; several files or a high file can put
    // later messages at earlier times.
    if (!ordered)
        std::stable_sort(c.messages.begin(), c.messages.end(),
                         [](const Message& a, const Message& b) { return a.row < b.row; });
}

bool ExportCsv::writeFile(CsvExportOptions& options)
{
    const QString folder = QString::fromLocal8Bit(options.exportDir);
    const QString path = folder + "/" + QString::fromLocal8Bit(options.fileName);
    const char limiter = options.limiter;

    QByteArray out;
    out.reserve(FlushSize + 4096);
    out += "Time";
    for (const QByteArray& name : mNames) {
        out += limiter;
        out += cell(name, limiter);
    }
    out += '\n';

    bool any = false;
    for (const Column& c : mColumns)
        any = any || !c.messages.empty();
    int64_t th0 = 0;
    int64_t th1 = -1;
    if (any && !mColumns.empty()) {
        th0 = gridRow(mFirstTime);
        th1 = gridRow(options.stopTime);
        printf("th0 %lld th1 %lld\n", static_cast<long long>(th0), static_cast<long long>(th1));
    }
    const int64_t rows = th1 >= th0 ? th1 - th0 + 1 : 0;

    // Refused before anything is written when the table certainly cannot
    // fit: it would fill the disk on the GUI thread and be lost all the same.
    // Every row holds at least its time, the separators and the line end.
    if (rows > 0) {
        const int64_t perRow = timeText(th0).size() + static_cast<int64_t>(mColumns.size()) + 1;
        const int64_t room = roomIn(folder);
        if (room >= 0 && rows > (room - out.size()) / perRow) {
            const double needed = static_cast<double>(rows) * static_cast<double>(perRow) + out.size();
            printf("CSV export <%s>: %lld rows need at least %.0f bytes, %lld bytes are free\n",
                   path.toLocal8Bit().constData(), static_cast<long long>(rows), needed, static_cast<long long>(room));
            Notifier::Report report;
            report.problem = Notifier::Problem::ExportTooBig;
            report.path = path;
            report.count = rows;
            report.bytes = needed >= 9.2e18 ? INT64_C(9200000000000000000) : static_cast<int64_t>(needed);
            report.available = room;
            Notifier::report(report);
            return false;
        }
    }

    SafeFile file(path);
    if (!file.open()) {
        printf("could not open <%s> for write !\n", path.toLocal8Bit().constData());
        return false;
    }

    if (rows > 0) {
        const Profile* profile = Profile::instance();
        QColor colour;
        std::vector<std::size_t> next(mColumns.size(), 0);
        std::vector<QByteArray> cells(mColumns.size());
        QByteArray tail;   // the separator and the cells, rebuilt when a cell changes
        bool changed = true;
        int reported = 0;
        for (int64_t k = th0; k <= th1; ++k) {
            for (std::size_t j = 0; j < mColumns.size(); ++j) {
                const Column& c = mColumns[j];
                std::size_t& i = next[j];
                const Message* last = nullptr;
                while (i < c.messages.size() && c.messages[i].row <= k)
                    last = &c.messages[i++];
                if (!last)
                    continue;
                const QByteArray text =
                    profile->getDataString(c.list->entries[last->index], *c.parameter, colour).toUtf8();
                // An empty text keeps the cell of the row before.
                if (text.isEmpty())
                    continue;
                QByteArray quoted = cell(text, limiter);
                if (quoted != cells[j]) {
                    cells[j] = std::move(quoted);
                    changed = true;
                }
            }
            if (changed) {
                tail.clear();
                for (const QByteArray& s : cells) {
                    tail += limiter;
                    tail += s;
                }
                tail += '\n';
                changed = false;
            }
            out += timeText(k);
            out += tail;
            if (out.size() >= FlushSize) {
                if (!file.write(out))
                    return false;
                out.resize(0);   // keeps the reserved buffer
            }
            // The status bar follows in steps of whole percents.
            if (((k - th0) & 4095) == 0) {
                const int percent = static_cast<int>(static_cast<double>(k - th0) / static_cast<double>(rows) * 100);
                if (percent != reported) {
                    reported = percent;
                    Notifier::progress(percent);
                }
            }
        }
    }
    if (!file.write(out))
        return false;
    return file.commit();
}

} // namespace KAVO
