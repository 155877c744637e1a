#include "ProfileUid.h"

namespace KAVO {

int ProfileUid::mUid = 1;

int ProfileUid::next()
{
    return mUid++;
}

} // namespace KAVO
