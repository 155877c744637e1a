#include "ProfileEnum.h"

#include "ProfileUid.h"

#include <climits>

namespace KAVO {

ProfileEnum::ProfileEnum() : mUid(ProfileUid::next())
{
}

ProfileEnum::ProfileEnum(int id, const QString& name) : mId(id), mName(name), mUid(ProfileUid::next())
{
}

const ProfileEnumValue* ProfileEnum::find(long long value) const
{
    // A full 32-bit field can exceed every value an enumeration can name.
    if (value < INT_MIN || value > INT_MAX)
        return nullptr;
    const auto it = mValues.find(static_cast<int>(value));
    return it == mValues.end() ? nullptr : &it->second;
}

} // namespace KAVO
