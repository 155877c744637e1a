#include "ProfileParameter.h"

#include "ProfileUid.h"

namespace KAVO {

ProfileParameter::ProfileParameter() : mUid(ProfileUid::next())
{
}

} // namespace KAVO
