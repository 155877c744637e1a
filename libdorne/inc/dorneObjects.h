#ifndef DORNE_OBJECTS_H
#define DORNE_OBJECTS_H

/* The exported object accessors (vdObj...): position, size, attributes and
   picking of a view's elements. */

#include "dorneExport.h"
#include "dorneElements.h"

#endif
