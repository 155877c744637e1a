#ifndef ORLO_NOTIFIER_H
#define ORLO_NOTIFIER_H

#include <QString>

#include <cstdint>
#include <functional>

namespace KAVO {

// The data core's only way to reach the window: the main window installs
// handlers, and without one (tests, tools) reports simply go nowhere. The
// core prints its own diagnostics as well, so nothing is lost without them.
class Notifier
{
public:
    // A failure the user must see because it loses or withholds data.
    enum class Problem {
        SettingsNotSaved,  // path: the settings file
        OffsetNotSaved,    // path: the offset file; value: the offset that stays in force
        OffsetRefused,     // path: the offset file; value: the refused offset
        FileNotOpened,     // path: a record file that cannot be opened; detail: the system's reason
        FileNotRegular,    // path: a record file that is no regular file
        FileTooBig,        // path: a record file; bytes: the memory its messages would need
        ProfileNotRead,    // path: the profile; detail, line, column: what the reader found
        ExportTooBig       // path: the export file; count: rows; bytes: needed; available: free
    };

    struct Report
    {
        Problem problem = Problem::SettingsNotSaved;
        QString path;
        QString detail;
        int line = 0;    // 0 when the failure has no place in a text
        int column = 0;
        double value = 0.0;
        int64_t count = 0;
        int64_t bytes = 0;
        int64_t available = 0;
    };

    using ProgressHandler = std::function<void(int percent)>;
    using ReportHandler = std::function<void(const Report& report)>;

    static void setProgressHandler(ProgressHandler handler);
    static void progress(int percent);

    static void setReportHandler(ReportHandler handler);
    static void report(const Report& report);

private:
    static ProgressHandler& progressHandler();
    static ReportHandler& reportHandler();
};

} // namespace KAVO

#endif
