#include "Notifier.h"

#include <utility>

namespace KAVO {

Notifier::ProgressHandler& Notifier::progressHandler()
{
    static ProgressHandler handler;
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

} // namespace KAVO
