#ifndef ORLO_EXPORTCSV_H
#define ORLO_EXPORTCSV_H

#include "CsvExportOptions.h"

#include <QByteArray>
#include <QList>

#include <cstdint>
#include <vector>

namespace KAVO {

class ProfileParameter;
class Record;
struct RecordIdList;

// Writes a time window of the recording as a text table: a time column and
// one column per parameter (all, or the selected ones) on a 100, 10 or 1 ms
// grid, each cell the decoded value text carried forward from the last step
// that had one. Rows are written as they are produced, so memory does not
// grow with the number of rows.
class ExportCsv
{
public:
    ExportCsv() = default;

    // Builds the columns and writes the file; false (with a diagnostic) when
    // it could not be written, or the resolution is not above 0. A table
    // that cannot fit into the free space of the target's file system (or
    // under the file-size limit) is refused and reported before anything is
    // written; progress goes to
    // the notifier while the rows are written.
    bool exportData(Record& record, CsvExportOptions& options);
    // Gathers one parameter's messages in the window as column 'column' (from 1).
    void fillColumn(Record& record, int column, const ProfileParameter& parameter, CsvExportOptions& options);
    // Writes the header line and the rows to exportDir/fileName.
    bool writeFile(CsvExportOptions& options);

    const QList<QByteArray>& names() const { return mNames; }
    // The earliest message time in the window, 1e15 when there is none.
    double firstTime() const;

    // A cell as written: quoted (inner quotes doubled) only when it holds the
    // separator, a double quote or a line break.
    static QByteArray cell(const QByteArray& text, char limiter);

private:
    // One column: the parameter's messages in the window by grid row; of
    // several messages in one row the last in list order counts.
    struct Message
    {
        int64_t row;      // grid row of the message time
        uint32_t index;   // the message within its list
    };
    struct Column
    {
        const ProfileParameter* parameter = nullptr;
        const RecordIdList* list = nullptr;
        std::vector<Message> messages;   // by row, list order within a row
    };

    int64_t gridRow(double time) const;
    QByteArray timeText(int64_t row) const;

    double mFirstTime = 1e15;  // infinite while no message was found
    double mRowsPerSecond = 10.0;
    int32_t mResolution = 100;
    QList<QByteArray> mNames;
    std::vector<Column> mColumns;
};

} // namespace KAVO

#endif
