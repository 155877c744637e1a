#ifndef ORLO_NOTIFIER_H
#define ORLO_NOTIFIER_H

#include <functional>

namespace KAVO {

// The data core's only way to reach the window: the main window installs a
// handler, and without one (tests, tools) reports simply go nowhere.
class Notifier
{
public:
    using ProgressHandler = std::function<void(int percent)>;

    static void setProgressHandler(ProgressHandler handler);
    static void progress(int percent);

private:
    static ProgressHandler& progressHandler();
};

} // namespace KAVO

#endif
