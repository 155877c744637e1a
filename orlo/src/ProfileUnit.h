#ifndef ORLO_PROFILEUNIT_H
#define ORLO_PROFILEUNIT_H

#include <QString>

namespace KAVO {

class ProfileUnit
{
public:
    ProfileUnit() = default;
    ProfileUnit(int code, const QString& acronym, const QString& name);

    int mCode = 0;
    QString mAcronym;
    QString mName;
};

} // namespace KAVO

#endif
