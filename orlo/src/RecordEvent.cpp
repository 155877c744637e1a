#include "RecordEvent.h"

#include "ProfileParameter.h"
#include "RecordData.h"

namespace KAVO {

RecordEvent::RecordEvent(double t, const QByteArray& n, const QByteArray& v, const QString& tx, const QColor& c)
    : time(t), name(n), value(v), text(tx), color(c), tenths(RecordData::timeKey32(t))
{
}

RecordEvent::RecordEvent(double t, const QString& device, const ProfileParameter& parameter,
                         const QString& valueText, const QColor& c)
    : RecordEvent(t, (device + " " + parameter.mName).toUtf8(), (valueText + " " + parameter.mUnit).toUtf8(),
                  device + " " + parameter.mName + " " + valueText + " " + parameter.mUnit, c)
{
}

} // namespace KAVO
