// The "text" and "button" records of the XML view file: a TEXT element with
// its font by definition id, a BUTTON with its corners, three colours,
// bevel and pressed state.
#include "xml/XmlElements.h"

#include "elements/elementKinds.h"

#include <cstring>

namespace dorne {

namespace {

// The display size of a record that carries none (an older writer's).
const int kDisplaySize = 30;

} // namespace

void textSaveXml(const ELEMENT_STRUCT* e, XmlElement& r, const XmlWriteState& state)
{
    const auto* t = static_cast<const TEXT_STRUCT*>(e->data);
    r.setAttributeDouble("x", double(t->x) - state.wx);
    r.setAttributeDouble("y", double(t->y) - state.wy);
    r.setAttributePosition("align", t->align);
    r.setAttributeString("text", fieldText(t->text, sizeof t->text));
    r.setAttributeColor("stroke", Color(t->color[0], t->color[1], t->color[2], t->color[3]));
    r.setAttributeDouble("stroke-width", t->lineWidth);
    r.setAttributeInt("stroke-style", t->strokeStyle);
    r.setAttributeBool("stroke-antialias", t->antialias != 0);
    r.setAttributeColor("fill", Color(t->fillColor[0], t->fillColor[1], t->fillColor[2], t->fillColor[3]));
    r.setAttributeInt("fill-style", t->fillStyle);
    r.setAttributeInt("font", t->fontId);
    r.setAttributeMatrix("matrix", matrixOf(t->matrix));
    // Last and of its own: readers that know only "font" pass over it.
    r.setAttributeInt("display-size", t->displaySize);
}

void textLoadXml(XmlElement& r, ELEMENT_STRUCT* e, const XmlReadState& state)
{
    auto* t = static_cast<TEXT_STRUCT*>(e->data);
    t->x = checkedFloat(r.getAttributeDouble("x") + state.wx);
    t->y = checkedFloat(r.getAttributeDouble("y") + state.wy);
    t->align = r.getAttributePosition("align");
    const std::string text = r.getAttributeString("text");
    // At most 255 bytes, never part of a UTF-8 character.
    size_t n = text.size() < 255 ? text.size() : 255;
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    std::memset(t->text, 0, sizeof t->text);
    std::memcpy(t->text, text.data(), n);
    readMatrix(r, t->matrix);
    setColor(r.getAttributeColor("stroke"), t->color);
    t->lineWidth = checkedFloat(r.getAttributeDouble("stroke-width"));
    t->strokeStyle = r.getAttributeInt("stroke-style");
    int factor = 0, style = 0;
    unsigned short pattern = 0;
    state.definitions.calcStroke(t->strokeStyle, &factor, &pattern, &style);
    t->stippleFactor = factor;
    t->stipplePattern = pattern;
    t->lineStyle = style;
    t->antialias = r.getAttributeBool("stroke-antialias") ? 1 : 0;
    setColor(r.getAttributeColor("fill"), t->fillColor);
    t->fillStyle = r.getAttributeInt("fill-style");
    state.definitions.calcFill(t->fillStyle, t->patternBits, &style);
    t->pattern = style;
    t->fontId = r.getAttributeInt("font");

    const auto found = state.definitions.mapFont.find(t->fontId);
    if (found != state.definitions.mapFont.end()) {
        const VFont& font = found->second;
        vdiCopyName(t->family, sizeof t->family, font.family.c_str());
        t->style = fontStyle(font);
        t->underline = font.underline ? 1 : 0;
        t->displaySize = kDisplaySize;
        t->size = font.size;
        void* made = vdiFontCreate(t->family, t->style, t->size);
        vdiFontRelease(t->font);
        t->font = made;
        t->scalable = vdiFontScalable(t->font);
    } // else the font of the text's creation stays
    if (r.hasAttribute("display-size"))
        t->displaySize = r.getAttributeInt("display-size");
}

void buttonSaveXml(const ELEMENT_STRUCT* e, XmlElement& r, const XmlWriteState& state)
{
    const auto* b = static_cast<const BUTTON_STRUCT*>(e->data);
    r.setAttributeDouble("rx", 0.0);
    r.setAttributeDouble("ry", 0.0);
    writeCorners(r, b->cornerX, b->cornerY, state);
    r.setAttributeColor("color0", Color(b->faceColor[0], b->faceColor[1], b->faceColor[2], b->faceColor[3]));
    r.setAttributeColor("color1", Color(b->lightColor[0], b->lightColor[1], b->lightColor[2], b->lightColor[3]));
    r.setAttributeColor("color2", Color(b->darkColor[0], b->darkColor[1], b->darkColor[2], b->darkColor[3]));
    r.setAttributeDouble("stroke-width", b->bevel);
    r.setAttributeInt("state", b->pressed);
}

void buttonLoadXml(XmlElement& r, ELEMENT_STRUCT* e, const XmlReadState& state)
{
    auto* b = static_cast<BUTTON_STRUCT*>(e->data);
    readCorners(r, b->cornerX, b->cornerY, state);
    setColor(r.getAttributeColor("color0"), b->faceColor);
    setColor(r.getAttributeColor("color1"), b->lightColor);
    setColor(r.getAttributeColor("color2"), b->darkColor);
    b->bevel = checkedFloat(r.getAttributeDouble("stroke-width"));
    b->pressed = r.getAttributeInt("state");
}

} // namespace dorne
