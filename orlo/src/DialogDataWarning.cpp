#include "DialogDataWarning.h"

#include "Profile.h"
#include "Record.h"

namespace KAVO {

DialogDataWarning::DialogDataWarning(QWidget* parent)
    : DialogDataEventList(parent, tr("Time"), tr("Warning Lamps"))
{
}

void DialogDataWarning::updateRecord(KAVO::Record* record)
{
    mKeyMap.clear();
    mRecord = record;
    if (record == nullptr)
        return;

    mUpdating = true;
    RecordData& data = record->recordData();
    std::vector<RecordWarning>& warnings = data.warnings;
    warnings.clear();
    const Profile* profile = Profile::instance();
    const ProfileInfo& info = Profile::instance()->data();
    forEachParameter(data, [&](const QString& device, const ProfileParameter& p, const RecordIdList& list) {
        const auto enumeration = info.mEnums.find(p.mEnumId);
        if (enumeration == info.mEnums.end() || enumeration->second.mName != "WarningLamp")
            return;
        // A lamp counts when it lights or changes colour; going dark and
        // lighting the same way again is the same warning.
        int previous = 0;
        for (const RecordEntry& e : list.entries) {
            const int v = profile->getInt(e, p);
            if (v == 0 || v == previous)
                continue;
            previous = v;
            QColor colour;
            const QString text = profile->getDataString(e, p, colour);
            if (v == 2)
                colour = QColor(255, 100, 100);
            else if (v == 1)
                colour = QColor(255, 150, 100);
            warnings.emplace_back(data.timeOf(list, e), device, p, text, colour);
        }
    });
    sortByTime(warnings);

    fillTime();
    fillWarnings();
    setTime(record->recordInfo().startTime);
    mUpdating = false;
}

void DialogDataWarning::updateProfile()
{
}

void DialogDataWarning::fillTime()
{
    fillTimeColumn(mRecord->recordData().warnings);
}

void DialogDataWarning::fillWarnings()
{
    fillTextColumn(mRecord->recordData().warnings);
}

} // namespace KAVO
