#ifndef ORLO_IMAGES_H
#define ORLO_IMAGES_H

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace KAVO {

// The pictures compiled into the program, reached by their names.
class Images
{
public:
    // A null pixmap (and a diagnostic) for a name that is not compiled in.
    static QPixmap pixmap(const QString& name);
    static QIcon icon(const QString& name);
    static QStringList names();
};

} // namespace KAVO

#endif
