// TEXT elements: the kind record with its defaults; the record owns its font.
#include "elementKinds.h"

#include <cstdio>

namespace {

// The size the element factory gives a new text.
const int factorySize = 30;

void releaseText(void* record)
{
    auto* text = static_cast<TEXT_STRUCT*>(record);
    vdiFontRelease(text->font);
    text->font = nullptr;
}

} // namespace

TEXT_STRUCT* createText(const TEXT_STRUCT*, int, int size)
{
    return vdiNewRecord<TEXT_STRUCT>(nullptr, "createText", [size](TEXT_STRUCT& t) {
        std::snprintf(t.text, sizeof t.text, "%s", "Text");
        t.align = 7;
        std::snprintf(t.family, sizeof t.family, "%s", "Arial");
        t.style = 1;
        t.size = size;
        t.displaySize = size;
        t.matrix[0] = 1;
        t.matrix[3] = 1;
        vdiSetColor(t.color, 0, 1, 1, 1);
        t.fontKind = 1;
        t.lineWidth = 1.0f;
        t.stippleFactor = 1;
        t.stipplePattern = 0xFFFF;
    });
}

const ElementKind vdiKindText = [] {
    ElementKind k = vdiDescribeKind("TEXT", sizeof(TEXT_STRUCT),
                                    [] { return static_cast<void*>(createText(nullptr, 0, factorySize)); });
    k.releaseRecord = releaseText;
    return k;
}();
