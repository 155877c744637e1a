#include "RecordData.h"

#include <algorithm>
#include <utility>
#include <cmath>
#include <limits>

namespace KAVO {

const RecordIdList& RecordData::idList(uint32_t channel, uint32_t canId) const
{
    const auto it = channels.find(channel);
    return it == channels.end() ? RecordIdList::emptyList() : it->second.idList(canId);
}

bool RecordData::placesInTime(const RecordView& view, std::vector<uint32_t>& low, std::vector<uint32_t>& high)
{
    const std::vector<RecordView::Part>& parts = view.parts();
    if (!view.isView() || parts.empty())
        return false;
    // At equal times a message of a low file goes first: right only while
    // every low file comes before every high file in the list.
    bool highSeen = false;
    for (const RecordView::Part& p : parts) {
        if (!p.ordered || (highSeen && !p.high))
            return false;
        highSeen = highSeen || p.high;
    }

    // Places are unique, but for a message filed under a pseudo id and its
    // own id both (once as it is, once big-endian): a bit per place and
    // form, read in order of place, merges the parts.
    std::vector<uint64_t> bits[2];
    for (const bool h : {false, true}) {
        std::vector<uint32_t>& out = h ? high : low;
        out.clear();
        std::size_t count = 0;
        std::size_t partsOfKind = 0;
        for (const RecordView::Part& p : parts) {
            if (p.high == h) {
                count += p.end - p.begin;
                ++partsOfKind;
            }
        }
        out.reserve(count);
        if (partsOfKind <= 1) {
            for (const RecordView::Part& p : parts)
                if (p.high == h)
                    for (uint32_t i = p.begin; i < p.end; ++i)
                        out.push_back(view.place(i));
            continue;
        }
        const std::size_t words = view.storeSize() / 64 + 1;
        bits[0].assign(words, 0);
        bits[1].assign(words, 0);
        for (const RecordView::Part& p : parts) {
            if (p.high != h)
                continue;
            for (uint32_t i = p.begin; i < p.end; ++i) {
                const uint32_t k = view.place(i);
                const uint32_t at = k & ~RecordView::BigEndian;
                bits[(k & RecordView::BigEndian) != 0 ? 1 : 0][at / 64] |= uint64_t(1) << (at % 64);
            }
        }
        for (std::size_t w = 0; w < words; ++w) {
            uint64_t plain = bits[0][w];
            uint64_t big = bits[1][w];
            while ((plain | big) != 0) {
                const int b = __builtin_ctzll(plain | big);
                const uint64_t one = uint64_t(1) << b;
                const uint32_t at = static_cast<uint32_t>(w * 64 + static_cast<std::size_t>(b));
                if (plain & one) {
                    out.push_back(at);
                    plain &= ~one;
                }
                if (big & one) {
                    out.push_back(at | RecordView::BigEndian);
                    big &= ~one;
                }
            }
        }
    }
    return true;
}

void RecordData::timelineOrder(const RecordIdList& list, std::vector<uint32_t>& order) const
{
    const RecordView& v = list.entries;
    order.clear();
    order.reserve(v.size());
    RecordEntry a;

    // Ascending runs of the list, merged pairwise; the earlier run wins ties.
    std::vector<std::pair<double, uint32_t>> timed(v.size());
    std::vector<std::size_t> starts{0};
    for (std::size_t i = 0; i < v.size(); ++i) {
        timed[i] = {timeOf(v.at(i, a)), static_cast<uint32_t>(i)};
        if (i > 0 && timed[i].first < timed[i - 1].first)
            starts.push_back(i);
    }
    starts.push_back(v.size());
    std::vector<std::pair<double, uint32_t>> other(timed.size());
    const auto earlier = [](const std::pair<double, uint32_t>& x, const std::pair<double, uint32_t>& y) {
        return x.first < y.first;
    };
    while (starts.size() > 2) {
        std::vector<std::size_t> next;
        std::size_t r = 0;
        for (; r + 2 < starts.size(); r += 2) {
            next.push_back(starts[r]);
            std::merge(timed.begin() + static_cast<std::ptrdiff_t>(starts[r]),
                       timed.begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                       timed.begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                       timed.begin() + static_cast<std::ptrdiff_t>(starts[r + 2]),
                       other.begin() + static_cast<std::ptrdiff_t>(starts[r]), earlier);
        }
        if (r + 1 < starts.size()) {
            next.push_back(starts[r]);
            std::copy(timed.begin() + static_cast<std::ptrdiff_t>(starts[r]),
                      timed.begin() + static_cast<std::ptrdiff_t>(starts[r + 1]),
                      other.begin() + static_cast<std::ptrdiff_t>(starts[r]));
        }
        next.push_back(v.size());
        starts.swap(next);
        timed.swap(other);
    }
    for (const auto& t : timed)
        order.push_back(t.second);
}

int64_t RecordData::timeKey(double seconds, double perSecond)
{
    const double k = std::floor(seconds * perSecond + 0.5);
    // Beyond 2^53 a double has no whole steps left; the bound also leaves
    // room to turn a key of tenths into milliseconds.
    constexpr double Top = 9007199254740992.0;
    if (std::isnan(k))
        return 0;
    return static_cast<int64_t>(std::min(std::max(k, -Top), Top));
}

int32_t RecordData::timeKey32(double seconds, double perSecond)
{
    const int64_t k = timeKey(seconds, perSecond);
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(k, std::numeric_limits<int32_t>::min()),
                                                  std::numeric_limits<int32_t>::max()));
}

QTime RecordData::timeOfDay(int64_t ms)
{
    constexpr int64_t Day = 24LL * 3600 * 1000;
    int64_t ofDay = ms % Day;
    if (ofDay < 0)
        ofDay += Day;
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(ofDay));
}

int64_t RecordData::clockMs(double seconds)
{
    const double ms = std::floor(seconds * 1000.0 + 1e-3);
    constexpr double Top = 9007199254740992.0;
    if (std::isnan(ms))
        return 0;
    return static_cast<int64_t>(std::min(std::max(ms, -Top), Top));
}

QString RecordData::clockText(double seconds)
{
    return timeOfDay(clockMs(seconds)).toString(QStringLiteral("hh:mm:ss.zzz"));
}

} // namespace KAVO
