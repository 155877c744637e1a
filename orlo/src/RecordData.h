#ifndef ORLO_RECORDDATA_H
#define ORLO_RECORDDATA_H

#include "RecordChannel.h"
#include "RecordView.h"
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

    // The messages of a list on the common timeline: indices into the list,
    // ascending in time, messages of equal time in the list's (reading)
    // order. A list read from files knows its messages of low and of high
    // files in time order: the two runs are merged with the present offset.
    // Otherwise the ascending runs of the list are found and merged.
    void timelineOrder(const RecordIdList& list, std::vector<uint32_t>& order) const;
    // Calls f(entry, time on the timeline) for the messages of a list in
    // that order (timelineOrder), each message fetched once.
    template <typename F>
    void forEachOnTimeline(const RecordIdList& list, F&& f) const;

    // A time counted in steps of 1/perSecond seconds, rounded half up
    // (tenths: 10, hundredths: 100). Signed, so that times before zero keep
    // their order; keys are clamped to +-2^53, a time that is not a number is 0.
    static int64_t timeKey(double seconds, double perSecond = 10.0);
    // The places of a list's messages in time order, apart for low and for
    // high files: the parts of each kind merged by place. False when that
    // does not give the timeline order (a view filled by hand, a file out of
    // time order, a low file after a high one in the list).
    static bool placesInTime(const RecordView& view, std::vector<uint32_t>& low, std::vector<uint32_t>& high);

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

template <typename F>
void RecordData::forEachOnTimeline(const RecordIdList& list, F&& f) const
{
    constexpr std::size_t Ahead = 16;
    const RecordView& v = list.entries;
    std::vector<uint32_t> places[2];  // of low and of high files, in time order
    if (!placesInTime(v, places[0], places[1])) {
        std::vector<uint32_t> order;
        timelineOrder(list, order);
        RecordEntry scratch;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (i + Ahead < order.size())
                v.prefetch(order[i + Ahead]);
            const RecordEntry& e = v.at(order[i], scratch);
            f(e, timeOf(e));
        }
        return;
    }
    // The two runs merged as they are read: each keeps its head message and
    // time; at equal times the low file's message goes first (it comes
    // first in the list).
    struct Side
    {
        std::size_t at = 0;
        RecordEntry scratch;
        const RecordEntry* entry = nullptr;
        double time = 0.0;
    };
    Side sides[2];
    const auto load = [&](int k) {
        Side& s = sides[k];
        const std::vector<uint32_t>& run = places[k];
        if (s.at + Ahead < run.size())
            v.prefetchPlace(run[s.at + Ahead]);
        s.entry = s.at < run.size() ? &v.atPlace(run[s.at], s.scratch) : nullptr;
        if (s.entry != nullptr)
            s.time = timeOf(*s.entry);
    };
    load(0);
    load(1);
    while (sides[0].entry != nullptr || sides[1].entry != nullptr) {
        const int k = sides[1].entry != nullptr && (sides[0].entry == nullptr || sides[1].time < sides[0].time) ? 1 : 0;
        f(*sides[k].entry, sides[k].time);
        ++sides[k].at;
        load(k);
    }
}

} // namespace KAVO

#endif
