// GROUP elements: no kind record; a group's state lives in its element (its
// children, box and clip fields).
#include "elementKinds.h"

const ElementKind vdiKindGroup = vdiDescribeKind("GROUP", 0, nullptr);
