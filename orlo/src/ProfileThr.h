#ifndef ORLO_PROFILETHR_H
#define ORLO_PROFILETHR_H

#include "ProfileThrValue.h"

#include <QString>

#include <vector>

namespace KAVO {

// A threshold set: levels in file order, expected in ascending limits.
class ProfileThr
{
public:
    ProfileThr();
    ProfileThr(int id, const QString& name);

    int mId = 0;
    QString mName;
    std::vector<ProfileThrValue> mValues;
    int mUid = 0;
};

} // namespace KAVO

#endif
