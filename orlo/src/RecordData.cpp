#include "RecordData.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace KAVO {

const RecordIdList& RecordData::idList(uint32_t channel, uint32_t canId) const
{
    const auto it = channels.find(channel);
    return it == channels.end() ? RecordIdList::emptyList() : it->second.idList(canId);
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
