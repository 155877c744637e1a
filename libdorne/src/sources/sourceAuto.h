// State of the test-signal source "Auto Data": its private data from Open to
// Close. Shared with the tests, which set the start time.
#ifndef DORNE_SOURCE_AUTO_H
#define DORNE_SOURCE_AUTO_H

namespace dorne {

const int kAutoSignals = 9;     // signal kinds with a table row: SIN .. RANDOM
const int kAutoFrequencies = 10; // 0.01 Hz .. 10 Hz

struct AutoDataState
{
    float table[kAutoSignals * kAutoFrequencies]; // kind x 10 + frequency index
    char date[256];
    char time[256];
    float frequencySlot; // what the FREQUENCY kind reads: 0.0
    double startTime;    // apiGetTime at StartView
    unsigned random;     // this source's own generator state
};

} // namespace dorne

#endif
