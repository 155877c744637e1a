#include "DialogDataLimit.h"

#include "Profile.h"
#include "Record.h"

namespace KAVO {

DialogDataLimit::DialogDataLimit(QWidget* parent)
    : DialogDataEventList(parent, tr("Time"), tr("Warning/Limit Exceed"))
{
}

void DialogDataLimit::updateRecord(KAVO::Record* record)
{
    mKeyMap.clear();
    mRecord = record;
    if (record == nullptr)
        return;

    mUpdating = true;
    RecordData& data = record->recordData();
    std::vector<RecordLimit>& limits = data.limits;
    limits.clear();
    const Profile* profile = Profile::instance();
    forEachParameter(data, [&](const QString& device, const ProfileParameter& p, const RecordIdList& list) {
        // Without a threshold every state is OK: nothing can rise.
        const Profile::StateLevels levels = profile->stateLevels(p);
        if (levels.empty())
            return;
        // A list starts as if at its limit: its first value never counts as a rise.
        int previous = ProfileThrValue::LIMIT;
        list.entries.forEach([&](const RecordEntry& e) {
            const int state = Profile::getState(e, p, levels);
            const bool rise = (previous == ProfileThrValue::OK &&
                               (state == ProfileThrValue::WARNING || state == ProfileThrValue::LIMIT)) ||
                              (previous == ProfileThrValue::WARNING && state == ProfileThrValue::LIMIT);
            if (rise) {
                QColor colour;
                const QString text = profile->getDataString(e, p, colour);
                limits.push_back(makeEvent<RecordLimit>(data.timeOf(list, e), device, p, text, colour));
            }
            previous = state;
        });
    });
    sortByTime(limits);

    fillTime();
    fillLimit();
    setTime(record->recordInfo().startTime);
    mUpdating = false;
}

void DialogDataLimit::updateProfile()
{
}

void DialogDataLimit::fillTime()
{
    fillTimeColumn(mRecord->recordData().limits);
}

void DialogDataLimit::fillLimit()
{
    fillTextColumn(mRecord->recordData().limits);
}

} // namespace KAVO
