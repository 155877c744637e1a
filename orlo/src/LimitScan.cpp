#include "LimitScan.h"

#include "ParallelWork.h"
#include "Profile.h"
#include "RecordData.h"

#include <algorithm>
#include <iterator>

namespace KAVO {

std::vector<RecordLimit> LimitScan::find(const RecordData& data)
{
    Profile* const profile = Profile::instance();
    // Every parameter with a threshold; the parameters of one message share
    // its list, which is read once for all of them. The lists are cut into
    // stretches that worker threads scan side by side; a stretch starts
    // from the states of the message before it, so the stretches find what
    // one walk finds, and their events are joined in profile order.
    struct Watch
    {
        QString device;
        const ProfileParameter* parameter;
        Profile::StateLevels levels;
    };
    std::vector<Watch> watches;
    std::vector<const RecordIdList*> lists;
    std::vector<std::vector<std::size_t>> watchesOfList;
    for (const auto& device : profile->data().mDevices) {
        for (const auto& parameter : device.second.mParameters) {
            const ProfileParameter& p = parameter.second;
            const RecordIdList& list =
                data.idList(static_cast<uint32_t>(p.mChannel), static_cast<uint32_t>(p.mCanId));
            // Without a threshold every state is OK: nothing can rise.
            Profile::StateLevels levels = profile->stateLevels(p);
            if (levels.empty() || list.empty())
                continue;
            const auto at = std::find(lists.begin(), lists.end(), &list);
            const std::size_t l = static_cast<std::size_t>(at - lists.begin());
            if (at == lists.end()) {
                lists.push_back(&list);
                watchesOfList.emplace_back();
            }
            watchesOfList[l].push_back(watches.size());
            watches.push_back(Watch{device.second.mName, &p, std::move(levels)});
        }
    }
    struct Stretch
    {
        std::size_t list;
        std::size_t begin;
        std::size_t end;
        std::vector<std::vector<RecordLimit>> found;  // per watch of the list
    };
    // Short stretches, taken in the order of their places in the time-sorted
    // list: the threads then read the same stretch of memory at the same
    // time, and the messages of one list that another fetched are found in
    // the shared cache.
    constexpr std::size_t StretchSize = 2048;
    std::vector<Stretch> stretches;
    std::vector<std::vector<std::size_t>> stretchesOfList(lists.size());
    std::vector<std::pair<uint32_t, std::size_t>> order;
    std::size_t total = 0;
    for (std::size_t l = 0; l < lists.size(); ++l) {
        const RecordView& v = lists[l]->entries;
        for (std::size_t i = 0; i < v.size(); i += StretchSize) {
            stretchesOfList[l].push_back(stretches.size());
            order.emplace_back(v.isView() ? v.position(i) : 0, stretches.size());
            stretches.push_back(Stretch{l, i, std::min(v.size(), i + StretchSize), {}});
        }
        total += v.size();
    }
    std::sort(order.begin(), order.end());
    ParallelWork::run(stretches.size(), ParallelWork::threads(static_cast<int64_t>(total)), [&](std::size_t k) {
        Stretch& s = stretches[order[k].second];
        const RecordIdList& list = *lists[s.list];
        const RecordView& v = list.entries;
        const std::vector<std::size_t>& mine = watchesOfList[s.list];
        s.found.resize(mine.size());
        RecordEntry scratch;
        // A list starts as if at its limit: its first value never counts as a rise.
        std::vector<int> previous(mine.size(), ProfileThrValue::LIMIT);
        if (s.begin > 0) {
            const RecordEntry& e = v.at(s.begin - 1, scratch);
            for (std::size_t w = 0; w < mine.size(); ++w)
                previous[w] = Profile::getState(e, *watches[mine[w]].parameter, watches[mine[w]].levels);
        }
        constexpr std::size_t Ahead = 16;
        for (std::size_t i = s.begin; i < s.end; ++i) {
            if (i + Ahead < s.end)
                v.prefetch(i + Ahead);
            const RecordEntry& e = v.at(i, scratch);
            for (std::size_t w = 0; w < mine.size(); ++w) {
                const Watch& watch = watches[mine[w]];
                const int state = Profile::getState(e, *watch.parameter, watch.levels);
                const bool rise = (previous[w] == ProfileThrValue::OK &&
                                   (state == ProfileThrValue::WARNING || state == ProfileThrValue::LIMIT)) ||
                                  (previous[w] == ProfileThrValue::WARNING && state == ProfileThrValue::LIMIT);
                if (rise) {
                    QColor colour;
                    const QString text = profile->getDataString(e, *watch.parameter, colour);
                    s.found[w].push_back(
                        RecordLimit(data.timeOf(list, e), watch.device, *watch.parameter, text, colour));
                }
                previous[w] = state;
            }
        }
    });
    // In profile order: watch by watch, each over its list's stretches.
    std::vector<std::pair<std::size_t, std::size_t>> placeOfWatch(watches.size());
    for (std::size_t l = 0; l < lists.size(); ++l)
        for (std::size_t w = 0; w < watchesOfList[l].size(); ++w)
            placeOfWatch[watchesOfList[l][w]] = {l, w};
    std::vector<RecordLimit> limits;
    for (std::size_t w = 0; w < watches.size(); ++w) {
        for (std::size_t k : stretchesOfList[placeOfWatch[w].first]) {
            std::vector<RecordLimit>& found = stretches[k].found[placeOfWatch[w].second];
            limits.insert(limits.end(), std::make_move_iterator(found.begin()), std::make_move_iterator(found.end()));
        }
    }
    return limits;
}

} // namespace KAVO
