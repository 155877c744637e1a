// Digits of the numbers on a scale: integer digits of its larger end and
// decimals of a step.
#include "dorneElements.h"

#include <cmath>

int getPre(float a, float b)
{
    // NaN counts as no value; below 10, and infinity, one digit.
    const double l = std::log10(std::fmax(std::fabs(double(a)), std::fabs(double(b))));
    if (!(l >= 1) || !std::isfinite(l))
        return 1;
    return int(l) + 1;
}

int getDots(float v)
{
    if (v == 0)
        return 3;
    if (!std::isfinite(v))
        return 0;
    const double l = std::log10(std::fabs(double(v)));
    if (l > 0)
        return 0;
    return int(std::fabs(l)) + 1;
}
