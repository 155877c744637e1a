#ifndef ORLO_STDOUTCAPTURE_H
#define ORLO_STDOUTCAPTURE_H

#include <QString>

namespace testsupport {

// Collects what the process writes to standard output (printf diagnostics)
// between construction and text(); the output is restored afterwards.
class StdoutCapture
{
public:
    StdoutCapture();
    ~StdoutCapture();

    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;

    // Stops capturing (once) and returns everything written since the start.
    QString text();

private:
    void stop();

    int mSaved = -1;
    int mFile = -1;
    QString mText;
};

} // namespace testsupport

#endif
