// The font library's sources live in this folder, one per family of
// functions; its public headers in ../inc export them with SARTO_API.
#include "sartoExport.h"
