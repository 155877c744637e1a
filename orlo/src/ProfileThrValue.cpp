#include "ProfileThrValue.h"

#include "ProfileUid.h"

namespace KAVO {

ProfileThrValue::ProfileThrValue() : mUid(ProfileUid::next())
{
}

ProfileThrValue::ProfileThrValue(double limit, const QColor& colour, int state)
    : mLimit(limit), mColor(colour), mState(state), mUid(ProfileUid::next())
{
}

} // namespace KAVO
