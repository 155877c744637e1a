#ifndef ORLO_RECORDEVENT_H
#define ORLO_RECORDEVENT_H

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>

namespace KAVO {

// An event the displays find in a recording (a limit exceedance or a warning
// lamp) and the KML export marks on the track.
struct RecordEvent
{
    double time = 0.0;   // message time as stored, without the folder offset
    QByteArray name;     // device name, a blank, parameter name
    QByteArray value;    // value text, a blank, unit
    QString text;        // device, parameter, value and unit separated by blanks
    QColor color;        // threshold colour, invalid until set
    int32_t tenths = 0;  // time * 10 + 0.5, truncated

    RecordEvent() = default;
    RecordEvent(double time, const QByteArray& name, const QByteArray& value, const QString& text,
                const QColor& color);
};

} // namespace KAVO

#endif
