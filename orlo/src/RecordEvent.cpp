#include "RecordEvent.h"

#include "RecordData.h"

namespace KAVO {

RecordEvent::RecordEvent(double t, const QByteArray& n, const QByteArray& v, const QString& tx, const QColor& c)
    : time(t), name(n), value(v), text(tx), color(c), tenths(RecordData::timeKey32(t))
{
}

} // namespace KAVO
