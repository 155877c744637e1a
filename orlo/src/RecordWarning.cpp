#include "RecordWarning.h"

namespace KAVO {

RecordWarning::RecordWarning(double t, const QByteArray& n, const QByteArray& v, const QString& tx, const QColor& c)
    : time(t), name(n), value(v), text(tx), color(c), tenths(static_cast<int32_t>(t * 10 + 0.5))
{
}

} // namespace KAVO
