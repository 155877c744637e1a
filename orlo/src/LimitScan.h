#ifndef ORLO_LIMITSCAN_H
#define ORLO_LIMITSCAN_H

#include "RecordLimit.h"

#include <vector>

namespace KAVO {

struct RecordData;

// The exceedances of a recording: every rise of a profile parameter (all of
// them, selected or not) into its warning or limit range, from one message
// of its list to the next in list order. OK to WARNING or LIMIT and
// WARNING to LIMIT rise; falling or staying does not, nor does the first
// message of a list. Worker threads scan the lists in stretches inside the
// call; the result is that of one walk: parameter by parameter in profile
// order, each in list order.
class LimitScan
{
public:
    static std::vector<RecordLimit> find(const RecordData& data);
};

} // namespace KAVO

#endif
