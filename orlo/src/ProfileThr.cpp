#include "ProfileThr.h"

#include "ProfileUid.h"

namespace KAVO {

ProfileThr::ProfileThr() : mUid(ProfileUid::next())
{
}

ProfileThr::ProfileThr(int id, const QString& name) : mId(id), mName(name), mUid(ProfileUid::next())
{
}

} // namespace KAVO
