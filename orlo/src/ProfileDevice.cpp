#include "ProfileDevice.h"

#include "ProfileUid.h"

namespace KAVO {

ProfileDevice::ProfileDevice() : mUid(ProfileUid::next())
{
}

ProfileDevice::ProfileDevice(int id, const QString& name) : mId(id), mName(name), mUid(ProfileUid::next())
{
}

} // namespace KAVO
