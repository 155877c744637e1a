// libFuzzer target: arbitrary bytes as record files through the header and
// record readers. The bytes become one file, and with the second half of the
// input a second one, read alone and together; the reader must neither crash
// nor step outside its buffers, and what it loads must hold together.
#include "FuzzSupport.h"
#include "Record.h"

#include <QString>

#include <cstdint>

using fuzzsupport::check;
using fuzzsupport::writeBytes;

namespace {

int32_t expectedRecords(size_t size) { return size < 128 ? 0 : static_cast<int32_t>((size - 128) / 28); }

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString first = fuzzsupport::folder()->path() + "/LOG_8000.CAN";
    const QString second = fuzzsupport::folder()->path() + "/LOG_0001.CAN";
    writeBytes(first, data, size);
    const size_t half = size / 2;
    writeBytes(second, data + half, size - half);

    KAVO::Record info;
    check(info.readRecordInfo(first));
    check(info.recordInfo().samples == expectedRecords(size));

    KAVO::Record r;
    check(r.readRecordData({first}));
    check(r.recordData().nrRecords == expectedRecords(size));
    check(r.rawData().entries.size() == static_cast<size_t>(expectedRecords(size)));

    check(r.readRecordData({first, second}));
    const auto& e = r.rawData().entries;
    check(e.size() == static_cast<size_t>(expectedRecords(size) + expectedRecords(size - half)));
    size_t high = 0;
    for (size_t i = 0; i < e.size(); ++i) {
        check(i == 0 || e[i - 1].time <= e[i].time);
        check((e[i].canId & 0x80000000u) == 0);
        high += e[i].highFile ? 1 : 0;
    }
    check(high == static_cast<size_t>(expectedRecords(size)));
    // Every message sits in its own list once, and messages of channels 0
    // and 1 once more in their channel's pseudo-id list.
    const uint32_t pseudo[2] = {KAVO::RecordData::PseudoIdChannel0, KAVO::RecordData::PseudoIdChannel1};
    size_t onChannel[2] = {0, 0}, realInPseudo[2] = {0, 0};
    for (const auto& x : e) {
        if (x.channel < 2) {
            ++onChannel[x.channel];
            realInPseudo[x.channel] += x.canId == pseudo[x.channel] ? 1 : 0;
        }
    }
    size_t filed = 0, pseudoSize[2] = {0, 0};
    for (const auto& channel : r.recordData().channels) {
        for (const auto& list : channel.second) {
            if (channel.first < 2 && list.first == pseudo[channel.first])
                pseudoSize[channel.first] = list.second.size();
            else
                filed += list.second.size();
        }
    }
    check(filed + realInPseudo[0] + realInPseudo[1] == e.size());
    for (int c = 0; c < 2; ++c)
        check(pseudoSize[c] == onChannel[c] + realInPseudo[c]);
    return 0;
}
