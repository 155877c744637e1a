#include "ProfileUnit.h"

namespace KAVO {

ProfileUnit::ProfileUnit(int code, const QString& acronym, const QString& name)
    : mCode(code), mAcronym(acronym), mName(name)
{
}

} // namespace KAVO
