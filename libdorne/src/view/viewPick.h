// The two picks shared by the event routing and the query functions.
#ifndef DORNE_VIEW_PICK_H
#define DORNE_VIEW_PICK_H

#include "dorneElements.h"

namespace dorne {

// The element's pick segment holds the point: nearer than 5 / zoom to the
// line through its ends and no farther from its mid-point than half its
// length; a segment without length within 5 / zoom of its point. A zoom of
// 0 or not finite hits nothing.
bool segmentHit(const ELEMENT_STRUCT* element, float x, float y, float zoom);

// The run-time pick (vdiPickElementRun).
ELEMENT_STRUCT* pickRun(ELEMENT_STRUCT* list, float x, float y, float zoom);

// Every element whose stored box or segment holds the point, into the
// calling thread's pick array; *count set. Null when none.
ELEMENT_STRUCT** pickStored(ELEMENT_STRUCT* list, float x, float y, int* count);

// x and y truncated toward zero into ix, iy; false (nothing written) when
// either is not finite or beyond the int range.
bool toIntPoint(double x, double y, int& ix, int& iy);

} // namespace dorne

#endif
