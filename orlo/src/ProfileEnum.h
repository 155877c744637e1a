#ifndef ORLO_PROFILEENUM_H
#define ORLO_PROFILEENUM_H

#include "ProfileEnumValue.h"

#include <QString>

#include <map>

namespace KAVO {

// An enumeration that labels the values of a bit field.
class ProfileEnum
{
public:
    ProfileEnum();
    ProfileEnum(int id, const QString& name);

    // The value's entry, or null when the enumeration has no such value.
    const ProfileEnumValue* find(long long value) const;

    int mId = 0;
    QString mName;
    std::map<int, ProfileEnumValue> mValues;
    int mUid = 0;
};

} // namespace KAVO

#endif
