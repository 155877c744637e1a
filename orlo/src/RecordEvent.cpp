#include "RecordEvent.h"

#include "RecordEntry.h"

namespace KAVO {

RecordEvent::RecordEvent(double t, const QByteArray& n, const QByteArray& v, const QString& tx, const QColor& c)
    : time(t), name(n), value(v), text(tx), color(c), tenths(RecordEntry::truncateToInt32(t * 10 + 0.5))
{
}

} // namespace KAVO
