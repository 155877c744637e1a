#include "InstrumentPage.h"

#include "ParallelWork.h"
#include "Profile.h"
#include "RecordData.h"
#include "TimelineScan.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>

namespace KAVO {

namespace {

constexpr int Ring1First = 1;
constexpr int Ring1Last = 6;
constexpr int Ring2First = 7;
constexpr int Ring2Last = 12;
constexpr int ConfigPage = 13;
constexpr int UnitPage = 14;

// One step inside a ring: key 1 forwards, key 2 back, stopping at its ends.
void stepRing(int& page, int& ringPage, int first, int last, int command)
{
    if (command == 1)
        page = std::min(page + 1, last);
    else if (command == 2)
        page = std::max(page - 1, first);
    else
        return;
    ringPage = page;
}

} // namespace

void InstrumentPage::calcPage(Pages& p, int command)
{
    if (command == 0) {
        p.page = 0;
        return;
    }
    if (p.page == 0) {
        if (command == 1)
            p.page = p.ring1;
        else if (command == 2)
            p.page = p.ring2;
        else if (command == 3)
            p.page = ConfigPage;
    } else if (p.page >= Ring1First && p.page <= Ring1Last) {
        stepRing(p.page, p.ring1, Ring1First, Ring1Last, command);
    } else if (p.page >= Ring2First && p.page <= Ring2Last) {
        stepRing(p.page, p.ring2, Ring2First, Ring2Last, command);
    } else if (p.page == ConfigPage || p.page == UnitPage) {
        int& selection = p.page == ConfigPage ? p.config : p.unit;
        if (command == 1 && selection == 0)
            selection = 1;
        else if (command == 2 && selection == 1)
            selection = 0;
        else if (command == 3)
            p.page = p.page == ConfigPage ? UnitPage : ConfigPage;
    }
}

bool InstrumentPage::timeKey(double seconds, int& key)
{
    const double tenths = seconds * 10.0;
    if (!std::isfinite(tenths) || tenths < double(INT_MIN) || tenths >= double(INT_MAX))
        return false;
    double whole = std::floor(tenths);
    // Less than a microsecond (10 µ-tenths) below the next tenth counts as it.
    if ((whole + 1.0) / 10.0 - seconds < 1e-6)
        whole += 1.0;
    key = static_cast<int>(whole);
    return true;
}

InstrumentPage::Feed InstrumentPage::feed(const RecordData& data, Profile& profile)
{
    // Every parameter with a view id, in device and parameter order; those
    // of one message share its id list, which is walked once for them all.
    std::vector<const ProfileParameter*> parameters;
    std::vector<const RecordIdList*> lists;
    std::vector<std::size_t> listOf;
    for (const auto& device : profile.data().mDevices) {
        for (const auto& entry : device.second.mParameters) {
            const ProfileParameter& p = entry.second;
            if (p.mViewId.isEmpty())
                continue;
            const RecordIdList* list =
                &data.idList(static_cast<uint32_t>(p.mChannel), static_cast<uint32_t>(p.mCanId));
            const auto at = std::find(lists.begin(), lists.end(), list);
            listOf.push_back(static_cast<std::size_t>(at - lists.begin()));
            if (at == lists.end())
                lists.push_back(list);
            parameters.push_back(&p);
        }
    }

    // The lists' messages on the timeline (high files at their time plus the
    // folder's offset), decoded by worker threads into arrays by their
    // number in timeline order; keys follow from the time alone.
    const TimelineScan scan(data, lists);
    std::vector<std::vector<int>> keys(lists.size());
    std::vector<std::vector<char>> keyed(lists.size());
    std::vector<std::vector<double>> values(parameters.size());
    for (std::size_t l = 0; l < lists.size(); ++l) {
        keys[l].resize(scan.size(l));
        keyed[l].resize(scan.size(l));
    }
    for (std::size_t k = 0; k < parameters.size(); ++k)
        values[k].resize(scan.size(listOf[k]));
    std::vector<std::vector<std::size_t>> members(lists.size());
    for (std::size_t k = 0; k < parameters.size(); ++k)
        members[listOf[k]].push_back(k);
    scan.run([&](std::size_t l, std::size_t index, const RecordEntry& e, double t) {
        keyed[l][index] = InstrumentPage::timeKey(t, keys[l][index]) ? 1 : 0;
        for (const std::size_t k : members[l])
            values[k][index] = profile.getDouble(e, *parameters[k], true);
    });

    // Keys ascend in timeline order: a message of the tenth last filled
    // replaces its value (a later message wins), any other opens a tenth at
    // the end of the map, without a search. The maps, a node per tenth,
    // are built side by side.
    Feed fed(parameters.size());
    int64_t messages = 0;
    for (const std::vector<double>& v : values)
        messages += static_cast<int64_t>(v.size());
    ParallelWork::run(parameters.size(), ParallelWork::threads(messages), [&](std::size_t k) {
        fed[k].first = parameters[k]->mViewId;
        std::map<int, double>& to = fed[k].second;
        const std::vector<int>& key = keys[listOf[k]];
        const std::vector<char>& hasKey = keyed[listOf[k]];
        const std::vector<double>& value = values[k];
        auto last = to.end();
        for (std::size_t i = 0; i < value.size(); ++i) {
            if (!hasKey[i])
                continue;
            if (last != to.end() && last->first == key[i])
                last->second = value[i];
            else
                last = to.insert_or_assign(to.end(), key[i], value[i]);
        }
    });
    return fed;
}

bool InstrumentPage::valueAt(const std::map<int, double>& values, double t, double& value)
{
    if (values.empty() || std::isnan(t))
        return false;
    // The first key k with k / 10 > t. Keys below t x 10 - 2 cannot be it;
    // the search starts there and steps past the few that fail the test.
    auto next = values.begin();
    if (t * 10.0 - 2.0 > double(values.begin()->first))
        next = t * 10.0 - 2.0 >= double(INT_MAX) ? values.end()
                                                 : values.lower_bound(static_cast<int>(std::floor(t * 10.0 - 2.0)));
    while (next != values.end() && !(next->first / 10.0 > t))
        ++next;
    if (next == values.end())
        return false;
    if (next == values.begin()) {
        value = next->second;
        return true;
    }
    const auto previous = std::prev(next);
    const double tp = previous->first / 10.0;
    const double tn = next->first / 10.0;
    value = previous->second + (next->second - previous->second) * (t - tp) / (tn - tp);
    return true;
}

InstrumentPage::Fit InstrumentPage::fit(double width, double height, double viewWidth, double viewHeight)
{
    Fit f;
    if (!(viewWidth > 0.0) || !(viewHeight > 0.0))
        return f;
    const double sy = height / viewHeight;
    const double sx = width / viewWidth;
    if (sy < sx) {
        f.scale = sy;
        f.xOffset = (width - viewWidth * f.scale) * 0.5;
    } else {
        f.scale = sx;
        f.yOffset = (height - viewHeight * f.scale) * 0.5;
    }
    return f;
}

double InstrumentPage::dim(double brightness, double knob, double lastKnob)
{
    const double b = brightness + (knob - lastKnob) * 0.002;
    // A knob value that is not a number leaves the brightness as it was.
    if (std::isnan(b))
        return brightness;
    return std::clamp(b, 0.1, 1.0);
}

bool InstrumentPage::toView(const Fit& fit, int widgetHeight, int mouseX, int mouseY, float& viewX, float& viewY)
{
    if (!(fit.scale > 0.0) || !std::isfinite(fit.scale))
        return false;
    viewX = static_cast<float>((mouseX - fit.xOffset) / fit.scale);
    viewY = static_cast<float>((widgetHeight - mouseY - fit.yOffset) / fit.scale);
    return true;
}

} // namespace KAVO
