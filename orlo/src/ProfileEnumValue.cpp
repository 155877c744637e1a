#include "ProfileEnumValue.h"

#include "ProfileUid.h"

namespace KAVO {

ProfileEnumValue::ProfileEnumValue() : mUid(ProfileUid::next())
{
}

ProfileEnumValue::ProfileEnumValue(int value, const QString& label)
    : mValue(value), mLabel(label), mUid(ProfileUid::next())
{
}

} // namespace KAVO
