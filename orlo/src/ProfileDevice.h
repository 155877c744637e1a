#ifndef ORLO_PROFILEDEVICE_H
#define ORLO_PROFILEDEVICE_H

#include "ProfileParameter.h"

#include <QString>

#include <map>

namespace KAVO {

class ProfileDevice
{
public:
    ProfileDevice();
    ProfileDevice(int id, const QString& name);

    int mId = 0;
    QString mName;
    std::map<int, ProfileParameter> mParameters; // by uid, hence in file order
    int mUid = 0;
};

} // namespace KAVO

#endif
