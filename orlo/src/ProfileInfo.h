#ifndef ORLO_PROFILEINFO_H
#define ORLO_PROFILEINFO_H

#include "FaultMatrix.h"
#include "ProfileDevice.h"
#include "ProfileEnum.h"
#include "ProfileThr.h"
#include "ProfileUnit.h"

#include <QString>

#include <map>
#include <vector>

namespace KAVO {

// The model of a loaded profile.
class ProfileInfo
{
public:
    ProfileInfo();

    void clear();

    QString mName;
    std::map<int, ProfileDevice> mDevices;      // by id, in file order
    std::map<int, ProfileEnum> mEnums;          // by id
    std::map<int, ProfileUnit> mUnits;          // by code
    std::map<int, ProfileThr> mThresholds;      // by id
    std::vector<FaultMatrix> mFaultMatrices;    // in file order
    int mUid = 0;
};

} // namespace KAVO

#endif
