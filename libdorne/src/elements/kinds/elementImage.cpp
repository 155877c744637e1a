// TEXTURE (image) elements: the kind record with its defaults, grab handles,
// edits and drawing through the texture registry. The record owns one
// reference to its registered texture.
#include "elements/kinds/elementFaces.h"

#include "dorneTextures.h"

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

int imageSetAttr(ELEMENT_STRUCT* element)
{
    const IMAGE_STRUCT* i = vdiRecord<IMAGE_STRUCT>(element);
    if (i == nullptr)
        return -1;
    vdiFaceAttr(element->attr, i->color);
    return 0;
}

int imageSetPickSticky(ELEMENT_STRUCT* element)
{
    IMAGE_STRUCT* i = vdiRecord<IMAGE_STRUCT>(element);
    if (i == nullptr)
        return -1;
    const bool made = vdiCornerUpdate(element, i->cornerX, i->cornerY, i->drawX, i->drawY);
    const int status = imageSetAttr(element);
    return made ? status : -1;
}

int editImage(ELEMENT_STRUCT* element, STICKY_STRUCT* handles, int command, int phase, EDIT_PARA_STRUCT* para)
{
    IMAGE_STRUCT* i = vdiRecord<IMAGE_STRUCT>(element);
    if (i == nullptr)
        return -1;
    EDIT_PARA_STRUCT none{};
    if (para == nullptr)
        para = &none;
    int status = 0; // -1 once an update ran out of memory
    switch (command) {
    case 22:
        vdiSetColor(i->color, para->r, para->g, para->b, i->color[3]);
        break;
    case 25:
        i->color[3] = para->r;
        break;
    case 47:
        i->pattern = para->intValue;
        vdiPatternBits(i->pattern, i->patternBits);
        break;
    default:
        if (command >= 1 && command <= 16)
            status = vdiEditPhase(element, handles, command, phase, para, vdiMoveRecordCorners<IMAGE_STRUCT>);
        break;
    }
    const int attr = imageSetAttr(element);
    return status != 0 ? -1 : attr;
}

int drawImage(IMAGE_STRUCT* record, const ATTR_STRUCT* block, int selected)
{
    if (record == nullptr || block == nullptr)
        return -1;
    wtLineStipple(1, 0xFFFF);
    wtAliasBlend(1, block->fillColor[3]);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    vvColor4f(block->fillColor[0], block->fillColor[1], block->fillColor[2], block->fillColor[3]);
    setStipple(record->pattern, record->patternBits);
    txDraw(record->texture, record->drawX, record->drawY);
    wtAliasBlend(0, 1.0f);
    setStipple(0, nullptr);
    if (selected != 0 && block->running == 0)
        vdiSelectionLoop(record->drawX, record->drawY, 4);
    return 0;
}

const ElementKind vdiKindImage = [] {
    ElementKind k = vdiDescribeKind("TEXTURE", sizeof(IMAGE_STRUCT),
                                    [] { return static_cast<void*>(createImage()); });
    k.update = imageSetPickSticky;
    k.edit = editImage;
    k.setAttr = imageSetAttr;
    k.releaseRecord = releaseImage;
    k.draw = vdiDrawRecord<drawImage>;
    return k;
}();
