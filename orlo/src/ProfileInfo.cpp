#include "ProfileInfo.h"

#include "ProfileUid.h"

namespace KAVO {

ProfileInfo::ProfileInfo() : mUid(ProfileUid::next())
{
}

void ProfileInfo::clear()
{
    mName.clear();
    mDevices.clear();
    mEnums.clear();
    mUnits.clear();
    mThresholds.clear();
    mFaultMatrices.clear();
}

} // namespace KAVO
