#ifndef ORLO_RECORDRAW_H
#define ORLO_RECORDRAW_H

#include "RecordEntry.h"

#include <array>
#include <cstdint>
#include <vector>

namespace KAVO {

// A recording as one stream: a record file header, byte for byte as stored,
// then every message sorted by time.
struct RecordRaw
{
    static constexpr int HeaderSize = 128;

    std::array<uint8_t, HeaderSize> header{};
    std::vector<RecordEntry> entries;
};

} // namespace KAVO

#endif
