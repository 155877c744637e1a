#ifndef ORLO_PROFILETHRVALUE_H
#define ORLO_PROFILETHRVALUE_H

#include <QColor>

namespace KAVO {

// One level of a threshold set: from its limit (raw units) on, the value
// takes this colour and state.
class ProfileThrValue
{
public:
    enum State { OK = 0, WARNING = 1, LIMIT = 2 };

    ProfileThrValue();
    ProfileThrValue(double limit, const QColor& colour, int state);

    double mLimit = 0.0;
    QColor mColor;
    int mState = OK;
    int mUid = 0;
};

} // namespace KAVO

#endif
