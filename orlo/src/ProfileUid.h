#ifndef ORLO_PROFILEUID_H
#define ORLO_PROFILEUID_H

namespace KAVO {

// Process-wide counter that hands out the uids of the profile's records.
// Never reset: uids grow in construction order across loads, so keeping
// parameters by uid keeps them in file order.
class ProfileUid
{
public:
    static int next();

    static int mUid;
};

} // namespace KAVO

#endif
