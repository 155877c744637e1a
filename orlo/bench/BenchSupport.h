#ifndef ORLO_BENCHSUPPORT_H
#define ORLO_BENCHSUPPORT_H

// Memory figures and a quiet standard output for the benchmark programs.

#include "SampleCard.h"

#include <QTemporaryDir>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace bench {

// A field of /proc/self/status ("VmRSS:", "VmHWM:") in bytes, -1 when unknown.
inline long long statusValue(const char* key)
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
inline bool resetPeak()
{
    FILE* f = fopen("/proc/self/clear_refs", "w");
    if (f == nullptr)
        return false;
    const bool ok = fputs("5", f) >= 0;
    return fclose(f) == 0 && ok;
}

// Sends standard output to /dev/null while it lives (diagnostics of the
// code under measurement), then restores it.
class QuietStdout
{
public:
    QuietStdout()
    {
        fflush(stdout);
        mSaved = dup(1);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            close(null);
        }
    }
    ~QuietStdout()
    {
        fflush(stdout);
        if (mSaved >= 0) {
            dup2(mSaved, 1);
            close(mSaved);
        }
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int mSaved = -1;
};

// Writes a sample card into the folder "card" of a new temporary folder;
// null (with a diagnostic) when anything could not be written.
inline std::unique_ptr<KAVO::SampleCard> sampleCard(const QTemporaryDir& dir, long long messages, int files)
{
    if (!dir.isValid()) {
        printf("could not create a temporary folder\n");
        return nullptr;
    }
    KAVO::SampleCard::Options options;
    options.folder = dir.path() + "/card";
    options.messages = messages;
    options.files = files;
    auto card = std::make_unique<KAVO::SampleCard>(options);
    if (!card->write())
        return nullptr;
    return card;
}

} // namespace bench

#endif
