#ifndef ORLO_PROFILEENUMVALUE_H
#define ORLO_PROFILEENUMVALUE_H

#include <QString>

namespace KAVO {

// One labelled value of an enumeration.
class ProfileEnumValue
{
public:
    ProfileEnumValue();
    ProfileEnumValue(int value, const QString& label);

    int mValue = 0;
    QString mLabel;
    int mUid = 0;
};

} // namespace KAVO

#endif
