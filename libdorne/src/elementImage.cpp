// TEXTURE (image) elements: the kind record with its defaults; the record
// owns one reference to its registered texture.
#include "elementKinds.h"

namespace {

void releaseImage(void* record)
{
    auto* image = static_cast<IMAGE_STRUCT*>(record);
    vdiTextureRelease(image->texture);
    image->texture = 0;
}

} // namespace

IMAGE_STRUCT* createImage(void)
{
    return vdiNewRecord<IMAGE_STRUCT>(nullptr, "createImage",
                                      [](IMAGE_STRUCT& i) { vdiSetColor(i.color, 1, 1, 1, 1); });
}

const ElementKind vdiKindImage = [] {
    ElementKind k = vdiDescribeKind("TEXTURE", sizeof(IMAGE_STRUCT),
                                    [] { return static_cast<void*>(createImage()); });
    k.releaseRecord = releaseImage;
    return k;
}();
