#ifndef ORLO_RECORDEVENT_H
#define ORLO_RECORDEVENT_H

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>

namespace KAVO {

class ProfileParameter;

// An event the displays find in a recording (a limit exceedance or a warning
// lamp) and the KML export marks on the track.
struct RecordEvent
{
    // Message time on the common timeline: a message of a high file carries
    // the folder offset, as in the table and the graph.
    double time = 0.0;
    QByteArray name;     // device name, a blank, parameter name
    QByteArray value;    // value text, a blank, unit
    QString text;        // device, parameter, value and unit separated by blanks
    QColor color;        // threshold colour, invalid until set
    int32_t tenths = 0;  // time in tenths of a second, rounded half up

    RecordEvent() = default;
    RecordEvent(double time, const QByteArray& name, const QByteArray& value, const QString& text,
                const QColor& color);
    // An event of a parameter's message: its device and name, and the value
    // text (as the decoder gives it) with the unit.
    RecordEvent(double time, const QString& device, const ProfileParameter& parameter, const QString& valueText,
                const QColor& color);
};

} // namespace KAVO

#endif
