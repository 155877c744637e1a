// The built-in fonts: compiled in from the headers that the embedding tool
// writes at build time, registered in their fixed order.
#include "buildinItems.h"
#include "sartoInternal.h"

namespace {

#include "arial.h"
#include "arialbd.h"
#include "arialbi.h"
#include "ariali.h"
#include "cour.h"
#include "courbd.h"
#include "courbi.h"
#include "couri.h"
#include "helvB08.h"
#include "helvB10.h"
#include "helvB12.h"
#include "helvB14.h"
#include "helvB18.h"
#include "helvB24.h"
#include "helvBO08.h"
#include "helvBO10.h"
#include "helvBO12.h"
#include "helvBO14.h"
#include "helvBO18.h"
#include "helvBO24.h"
#include "helvO08.h"
#include "helvO10.h"
#include "helvO12.h"
#include "helvO14.h"
#include "helvO18.h"
#include "helvO24.h"
#include "helvR08.h"
#include "helvR10.h"
#include "helvR12.h"
#include "helvR14.h"
#include "helvR18.h"
#include "helvR24.h"
#include "courB08.h"
#include "courB10.h"
#include "courB12.h"
#include "courB14.h"
#include "courB18.h"
#include "courB24.h"
#include "courBO08.h"
#include "courBO10.h"
#include "courBO12.h"
#include "courBO14.h"
#include "courBO18.h"
#include "courBO24.h"
#include "courO08.h"
#include "courO10.h"
#include "courO12.h"
#include "courO14.h"
#include "courO18.h"
#include "courO24.h"
#include "courR08.h"
#include "courR10.h"
#include "courR12.h"
#include "courR14.h"
#include "courR18.h"
#include "courR24.h"

struct Outline
{
    const unsigned char* data;
    const char* family;
};

#define SARTO_OUTLINE_ENTRY(item, family) {item, family},
const Outline kOutlines[] = {SARTO_BUILDIN_OUTLINES(SARTO_OUTLINE_ENTRY)};
#undef SARTO_OUTLINE_ENTRY

} // namespace

void ftiRegisterBuildins(FNT_STRUCT* state)
{
#define SARTO_ADD_OUTLINE(item, family) ftiAddBuildin(state, item, item##Size);
#define SARTO_ADD_STRIKE(item) ftiAddBuildin(state, item, item##Size);
    SARTO_BUILDIN_OUTLINES(SARTO_ADD_OUTLINE)
    SARTO_BUILDIN_STRIKES(SARTO_ADD_STRIKE)
#undef SARTO_ADD_OUTLINE
#undef SARTO_ADD_STRIKE
}

const char* ftiBuildinFamily(const unsigned char* data)
{
    for (const Outline& outline : kOutlines) {
        if (outline.data == data)
            return outline.family;
    }
    return nullptr;
}
