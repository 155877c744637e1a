#ifndef ORLO_RECORDDATA_H
#define ORLO_RECORDDATA_H

#include "RecordChannel.h"
#include "RecordLimit.h"
#include "RecordWarning.h"

#include <QString>
#include <QTime>

#include <cstdint>
#include <map>
#include <vector>

namespace KAVO {

// The messages of a recording by channel and CAN id, the record folder's
// time offset and the event lists the displays fill.
struct RecordData
{
    // Besides its own list, every message of channel 0 is filed under this
    // id of channel 0, and every message of channel 1 under the other id of
    // channel 1, with channel, id and auxiliary words stored big-endian.
    static constexpr uint32_t PseudoIdChannel0 = 0x7FFFFFFFu;
    static constexpr uint32_t PseudoIdChannel1 = 0x7FFFFFFEu;

    std::map<uint32_t, RecordChannel> channels;
    double offset = 0.0;     // seconds, added to the times of high files
    int32_t nrRecords = 0;
    std::vector<RecordLimit> limits;
    std::vector<RecordWarning> warnings;

    // The list of a channel and id, or an empty list; never adds an entry.
    const RecordIdList& idList(uint32_t channel, uint32_t canId) const;

    // A message's time on the common timeline: the folder offset is added
    // for messages of a high file. Each message goes by its own file: a
    // list's flag only tells which file added to it last, and a selection
    // of low and high files fills one list from both.
    double timeOf(const RecordEntry& entry) const { return entry.highFile ? entry.time + offset : entry.time; }
    double timeOf(const RecordIdList&, const RecordEntry& entry) const { return timeOf(entry); }

    // A time counted in steps of 1/perSecond seconds, rounded half up
    // (tenths: 10, hundredths: 100). Signed, so that times before zero keep
    // their order; keys are clamped to +-2^53, a time that is not a number is 0.
    static int64_t timeKey(double seconds, double perSecond = 10.0);
    // The same narrowed to the 32-bit fields of entries and events.
    static int32_t timeKey32(double seconds, double perSecond = 10.0);
    // The time of day of a count of milliseconds, wrapping at 24 hours (a
    // count below zero wraps back from midnight).
    static QTime timeOfDay(int64_t ms);
    // The whole milliseconds every time display shows for a time: rounded
    // down (times before zero keep their order), except that a time less
    // than a microsecond below a millisecond boundary shows that boundary,
    // so that the noise of the tick conversion (39.69999997 s) costs no
    // millisecond. Clamped to +-2^53; a time that is not a number is 0.
    static int64_t clockMs(double seconds);
    // "hh:mm:ss.zzz" of a time by that rule, wrapping at 24 hours.
    static QString clockText(double seconds);
};

} // namespace KAVO

#endif
