#include "xml/Color.h"

#include <cmath>

namespace dorne {

bool Color::operator==(const Color& other) const
{
    for (int i = 0; i < 4; ++i)
        if (!(std::fabs(c_[i] - other.c_[i]) <= 0.001f))
            return false;
    return true;
}

} // namespace dorne
