#ifndef ORLO_RECORDWARNING_H
#define ORLO_RECORDWARNING_H

#include <QByteArray>
#include <QColor>
#include <QString>

#include <cstdint>

namespace KAVO {

// A warning-lamp event of the warning list; kept apart from the limits for the KML export.
struct RecordWarning
{
    double time = 0.0;   // message time as stored, without the folder offset
    QByteArray name;     // device name, a blank, parameter name
    QByteArray value;    // value text, a blank, unit
    QString text;        // device, parameter, value and unit separated by blanks
    QColor color;        // threshold colour, invalid until set
    int32_t tenths = 0;  // time * 10 + 0.5, truncated

    RecordWarning() = default;
    RecordWarning(double time, const QByteArray& name, const QByteArray& value, const QString& text, const QColor& color);
};

} // namespace KAVO

#endif
