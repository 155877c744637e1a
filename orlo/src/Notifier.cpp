#include "Notifier.h"

#include <utility>

namespace KAVO {

Notifier::ProgressHandler& Notifier::progressHandler()
{
    static ProgressHandler handler;
    return handler;
}

Notifier::ReportHandler& Notifier::reportHandler()
{
    static ReportHandler handler;
    return handler;
}

void Notifier::setProgressHandler(ProgressHandler handler)
{
    progressHandler() = std::move(handler);
}

void Notifier::progress(int percent)
{
    if (progressHandler())
        progressHandler()(percent);
}

void Notifier::setReportHandler(ReportHandler handler)
{
    reportHandler() = std::move(handler);
}

void Notifier::report(const Report& report)
{
    if (reportHandler())
        reportHandler()(report);
}

} // namespace KAVO
