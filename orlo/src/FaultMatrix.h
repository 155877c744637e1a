#ifndef ORLO_FAULTMATRIX_H
#define ORLO_FAULTMATRIX_H

#include "ProfileParameter.h"

#include <QString>

#include <map>

namespace KAVO {

// The 32 bits of one status message (CAN id = mId on channel 0), each bit
// possibly named by a parameter of that CAN id whose start bit it is.
class FaultMatrix
{
public:
    FaultMatrix() = default;
    FaultMatrix(int id, const QString& name);

    int mId = 0;
    QString mName;
    std::map<int, ProfileParameter> mParameters; // by start bit
};

} // namespace KAVO

#endif
