#include "FaultMatrix.h"

namespace KAVO {

FaultMatrix::FaultMatrix(int id, const QString& name) : mId(id), mName(name)
{
}

} // namespace KAVO
