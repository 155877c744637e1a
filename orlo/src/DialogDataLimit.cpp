#include "DialogDataLimit.h"

#include "LimitScan.h"
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
    limits = LimitScan::find(data);
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
