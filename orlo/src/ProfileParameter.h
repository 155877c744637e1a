#ifndef ORLO_PROFILEPARAMETER_H
#define ORLO_PROFILEPARAMETER_H

#include <QString>

namespace KAVO {

// One decodable value of a CAN message. A value type: every index of the
// profile holds its own copy.
class ProfileParameter
{
public:
    enum ErrorType { ErrorNone = 0, ErrorInfo = 1, ErrorWarning = 2, ErrorFault = 3 };

    ProfileParameter();

    QString mName;
    QString mFullName;      // "<device>/<parameter>", the key of the project file
    QString mUnit;
    QString mViewId;        // instrument-view variable that shows the value
    int mDataType = 0;      // data-type number (Profile::DataType)
    int mEnumId = 0;        // 0: none
    int mThresholdId = 0;   // 0: none
    int mCanId = 0;
    int mStartByte = 0;     // offset of the value within the 28-byte record
    int mStartBit = 0;      // lowest bit of a bit field; key in an error matrix
    int mEndBit = 0;        // highest bit of a bit field
    int mChannel = 0;
    double mOffset = 0.0;   // added after the factor
    double mFactor = 1.0;
    int mUid = 0;
    bool mSelected = false;
    int mErrorType = ErrorNone;
};

} // namespace KAVO

#endif
