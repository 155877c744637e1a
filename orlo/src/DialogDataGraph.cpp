#include "DialogDataGraph.h"

#include "Record.h"

namespace KAVO {

DialogDataGraph::DialogDataGraph(QWidget* parent)
    : QWidget(parent)
{
}

double DialogDataGraph::markStart()
{
    return mMarker1;
}

double DialogDataGraph::markStop()
{
    return mMarker2;
}

void DialogDataGraph::updateProfile()
{
    updateRecord(mRecord, true);
}

void DialogDataGraph::updateRecord(KAVO::Record* record, bool newWindow)
{
    mRecord = record;
    mMarker1 = 0.0;
    mMarker2 = 0.0;
    if (record != nullptr && newWindow)
        mCursor = record->recordInfo().startTime;
}

void DialogDataGraph::setTime(double t)
{
    mCursor = t;
}

} // namespace KAVO
