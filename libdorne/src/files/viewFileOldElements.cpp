// The element records of the revisions before 3.01, read into today's
// kinds: the frame of each group (nothing, a fixed name, or name and id as
// in 3.03), bodies without the fill patterns and reserved ints of 3.03,
// and the conversions of old circles, graphs, texts and images.
#include "files/viewFileBodies.h"
#include "files/viewFileFields.h"
#include "files/viewFileOld.h"

#include "elements/elementKinds.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace dorne {

namespace {

const int32_t kNameBytes = 64;
const int32_t kIdBytes = 256;
const int32_t kLastKind = VD_SCISSOR;
const int32_t kMaxTextLength = 255;
const int32_t kImageNameBytes = 128;
const float kStoredRadius = 100.0f;
const int64_t kPointBytes = 4 + 4 + 4;
// The smallest record a group's child may be: a kind and an empty action
// list (frames and bodies only add to it).
const int64_t kMinChildBytes = 4 + 4;

struct Reader
{
    ViewReader& in;
    int group; // 100, 101, 102, 107, 111, 113, 201, 202, 203, 204
    ViewContent& out;
};

bool readRect(Reader& rd, RECT_STRUCT& s)
{
    FieldReader r(rd.in, "a RECTANGLE record");
    readCorners(r, s.x, s.y);
    r.i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    r.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias);
    return r.ok();
}

bool readPoly(Reader& rd, POLY_STRUCT& s)
{
    ViewReader& in = rd.in;
    FieldReader r(in, "a POLYGON record");
    r.i(s.closed).i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    r.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias);
    int32_t count;
    if (!r.ok() || !in.readCount(count, kPointBytes, "point"))
        return false;
    return readPolygonPoints(in, s, count);
}

// CIRCLE and ARC. Before 1.02 the size lies in an old size block, which
// becomes the transform.
bool readCurve(Reader& rd, CIRCLE_STRUCT& s)
{
    FieldReader r(rd.in, "a CIRCLE record");
    const bool sizeBlock = rd.group <= 101;
    r.f(s.x).f(s.y);
    if (sizeBlock)
        r.f(s.oldSize[0]).f(s.oldSize[1]).f(s.oldSize[2]).f(s.oldSize[3]).f(s.rx).f(s.ry);
    else
        r.f(s.matrix[0]).f(s.matrix[1]).f(s.matrix[2]).f(s.matrix[3]);
    r.f(s.start).f(s.end);
    r.i(s.outline).f(s.lineWidth).i(s.lineStyle).f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA);
    r.i(s.fill).f(s.fillR).f(s.fillG).f(s.fillB).f(s.fillA).i(s.antialias);
    s.rx = s.ry = kStoredRadius;
    if (sizeBlock) {
        s.matrix[0] = std::fabs(s.oldSize[0]) / kStoredRadius;
        s.matrix[1] = s.matrix[2] = 0;
        s.matrix[3] = std::fabs(s.oldSize[1]) / kStoredRadius;
    }
    return r.ok();
}

bool readLine(Reader& rd, LINE_STRUCT& s)
{
    FieldReader r(rd.in, "a LINE record");
    r.f(s.x1).f(s.y1).f(s.x2).f(s.y2).f(s.lineWidth).i(s.lineStyle);
    return r.f(s.lineR).f(s.lineG).f(s.lineB).f(s.lineA).i(s.antialias).ok();
}

bool readScissor(Reader& rd, SCISSOR_STRUCT& s)
{
    FieldReader r(rd.in, "a SCISSOR record");
    readCorners(r, s.cornerX, s.cornerY);
    return r.ok();
}

bool readButton(Reader& rd, BUTTON_STRUCT& s)
{
    FieldReader r(rd.in, "a BUTTON record");
    readCorners(r, s.cornerX, s.cornerY);
    return r.color(s.faceColor).color(s.lightColor).color(s.darkColor).f(s.bevel).i(s.pressed).ok();
}

bool readSlider(Reader& rd, SLIDER_STRUCT& s)
{
    FieldReader r(rd.in, "a SLIDER record");
    r.f(s.x).f(s.y).f(s.width).f(s.height).color(s.faceColor).color(s.darkColor).color(s.lightColor);
    return r.f(s.bevel).f(s.knobHalfHeight).i(s.sliderInt).f(s.sliderFloat).ok();
}

// ---- GRAPH ---------------------------------------------------------------------

void fallbackFont(GRAPH_STRUCT& g, int size)
{
    vdiCopyName(g.family, sizeof g.family, "Courier [fixed]");
    g.style = 1;
    g.size = size;
}

bool readGraph(Reader& rd, GRAPH_STRUCT& g)
{
    const int group = rd.group;
    FieldReader r(rd.in, "a GRAPH record");
    int32_t marker;
    if (group >= 201)
        r.i(g.type);
    r.f(g.x).f(g.y).f(g.width).f(g.height).f(g.ymin).f(g.ymax);
    if (group >= 201)
        r.f(g.xmin).f(g.xmax);
    r.f(g.rate).i(g.autoscale);
    if (group >= 107)
        r.f(g.minSpreadY);
    if (group >= 201)
        r.i(g.autoscaleX).f(g.minSpreadX);
    r.i(g.samples);
    if (group >= 107)
        r.i(g.bars);
    r.color(g.outlineColor);
    if (group >= 111) {
        r.color(g.backgroundColor);
    } else {
        const float black[4] = {0, 0, 0, 1};
        std::memcpy(g.backgroundColor, black, sizeof black);
    }
    r.f(g.outlineWidth).i(g.gridX).i(g.gridY).i(g.gridXAuto).i(g.gridYAuto);
    r.f(g.gridXSpace).f(g.gridYSpace).f(g.gridXRef).f(g.gridYRef).i(g.gridStyleIndex).color(g.gridColor);
    r.i(g.labelX).i(g.labelY);
    if (group >= 111)
        r.i(g.labelYR);
    else
        g.labelYR = 0;
    r.i(g.tickX).i(g.tickY);
    if (group >= 111)
        r.i(g.tickYR);
    else
        g.tickYR = 0;
    r.i(g.tickXAuto).i(g.tickYAuto).f(g.tickXSpace).f(g.tickYSpace).f(g.tickXRef).f(g.tickYRef);
    r.i(g.tickXSub).i(g.tickYSub).f(g.tickWidth).i(marker);
    if (group >= 203)
        r.text(g.family, int32_t(sizeof g.family)).i(g.style).i(g.size);
    if (!r.ok())
        return false;
    // Style 8 (bold italic) is a font-library style like 0 to 4.
    const bool styleKnown = (g.style >= 0 && g.style <= 4) || g.style == 8;
    if (group <= 202)
        fallbackFont(g, 10);
    else if (group == 203 && (g.size < 0 || g.size > 40 || !styleKnown))
        fallbackFont(g, 10);
    else if (group == 204 && (g.size < 1 || g.size > 40 || !styleKnown || g.family[0] == '\0'))
        fallbackFont(g, 12);
    // The font the graph was made with goes; the first one is held for the
    // read, so that the next graph shares it instead of building it anew.
    void* made = vdiFontCreate(g.family, g.style, g.size);
    if (rd.out.heldFont == nullptr)
        rd.out.heldFont = g.font;
    else
        vdiFontRelease(g.font);
    g.font = made;
    if (group >= 204)
        return r.i(g.labelFixX).i(g.labelFixY).f(g.labelXMin).f(g.labelXMax).f(g.labelYMin).f(g.labelYMax).ok();
    g.labelFixX = g.labelFixY = 0;
    g.labelXMin = 0, g.labelXMax = 100, g.labelYMin = 0, g.labelYMax = 100;
    return true;
}

// ---- TEXT and the old vector text ------------------------------------------------

bool readTextString(ViewReader& in, FieldReader& r, TEXT_STRUCT& t)
{
    int32_t length;
    if (!r.ok() || !in.readLength(length, 0, kMaxTextLength, "a TEXT record's text"))
        return false;
    std::memset(t.text, 0, sizeof t.text); // nothing of the template stays behind
    return r.text(t.text, length + 1).ok();
}

// tag 10 is the old vector text, created as a TEXT.
bool readText(Reader& rd, int32_t tag, TEXT_STRUCT& t)
{
    ViewReader& in = rd.in;
    const int group = rd.group;
    FieldReader r(in, "a TEXT record");
    if (group >= 203) { // the layout of 3.01
        r.f(t.x).f(t.y).color(t.color).i(t.align).f(t.matrix[0]).f(t.matrix[1]).f(t.matrix[2]).f(t.matrix[3]);
        r.text(t.family, int32_t(sizeof t.family)).i(t.style).i(t.underline).i(t.size).i(t.displaySize).skip(6);
        if (!readTextString(in, r, t))
            return false;
        replaceFont(t.font, t.family, t.style, t.size);
        t.scalable = vdiFontScalable(t.font);
        return true;
    }
    r.i(t.outline).f(t.x).f(t.y).i(t.oldFont).f(t.lineWidth).i(t.lineStyle).color(t.color).i(t.antialias);
    if (group >= 101)
        r.i(t.align);
    if (group == 101 || group == 102)
        readCorners(r, t.cornerX, t.cornerY);
    if (group >= 107)
        r.f(t.matrix[0]).f(t.matrix[1]).f(t.matrix[2]).f(t.matrix[3]);
    if (!readTextString(in, r, t))
        return false;
    if (tag != VD_TEXT_LEGACY) {
        convertTextNewFormat(&t, t.oldFont);
        return true;
    }
    convertTextNewFormatVec(&t, t.oldFont);
    if (group == 101 || group == 102)
        calcVecText(&t);
    else if (group >= 107)
        calcVecTextNew(&t);
    if (group == 102)
        std::printf("text x = %f y = %f\n", double(t.x), double(t.y));
    return true;
}

// ---- TEXTURE -------------------------------------------------------------------

bool readTexture(Reader& rd, IMAGE_STRUCT& image)
{
    ViewReader& in = rd.in;
    const int group = rd.group;
    FieldReader r(in, "a TEXTURE record");
    readCorners(r, image.cornerX, image.cornerY);
    r.color(image.color);
    if (group <= 101)
        return r.ok();
    char name[kImageNameBytes];
    r.skip(1).text(name, kImageNameBytes).skip(1);
    if (group == 102)
        return r.ok();
    int32_t width, height;
    if (!r.i(width).i(height).ok())
        return false;
    return readTexturePixels(in, image, width, height, group >= 204 ? 4 : 3);
}

// ---- Records -------------------------------------------------------------------

bool readElement(Reader& rd, int32_t kind, int depth, ELEMENT_STRUCT** head, ELEMENT_STRUCT*& last,
                 ELEMENT_STRUCT* parent);

bool readGroup(Reader& rd, ELEMENT_STRUCT* group, int depth)
{
    ELEMENT_STRUCT* last = nullptr;
    return readGroupChildren(rd.in, kMinChildBytes, kLastKind, [&](int32_t kind) {
        return readElement(rd, kind, depth + 1, &group->children, last, group);
    });
}

bool readBody(Reader& rd, ELEMENT_STRUCT* e, int32_t tag, int depth)
{
    void* data = e->data;
    if (e->kind != VD_GROUP && e->kind != 9 && data == nullptr)
        return rd.in.refuse("element of kind %d without its record", tag);
    switch (e->kind) {
    case VD_GROUP:
        return readGroup(rd, e, depth);
    case VD_GRAPH:
        return readGraph(rd, *static_cast<GRAPH_STRUCT*>(data));
    case VD_TEXT:
        return readText(rd, tag, *static_cast<TEXT_STRUCT*>(data));
    case VD_TEXTURE:
        return readTexture(rd, *static_cast<IMAGE_STRUCT*>(data));
    case VD_RECTANGLE:
        return readRect(rd, *static_cast<RECT_STRUCT*>(data));
    case VD_POLYGON:
    case VD_CPOLYGON:
        return readPoly(rd, *static_cast<POLY_STRUCT*>(data));
    case VD_CIRCLE:
    case VD_ARC:
        return readCurve(rd, *static_cast<CIRCLE_STRUCT*>(data));
    case VD_LINE:
        return readLine(rd, *static_cast<LINE_STRUCT*>(data));
    case VD_BUTTON:
        return readButton(rd, *static_cast<BUTTON_STRUCT*>(data));
    case VD_SLIDER:
        return readSlider(rd, *static_cast<SLIDER_STRUCT*>(data));
    case VD_SCISSOR:
        return readScissor(rd, *static_cast<SCISSOR_STRUCT*>(data));
    default: // 9 has no body
        return true;
    }
}

// Creates the element of the kind, links it behind *last of *head in the
// parent group (null at top level) and reads its record; what was made
// stays linked when the record is refused, for the list's owner to free.
bool readElement(Reader& rd, int32_t kind, int depth, ELEMENT_STRUCT** head, ELEMENT_STRUCT*& last,
                 ELEMENT_STRUCT* parent)
{
    ViewReader& in = rd.in;
    const bool fullFrame = rd.group >= 202;
    if (kind == 9 && !fullFrame) {
        // No element before 2.02: the actions are read and dropped.
        ACTION_STRUCT* scratch = nullptr;
        ACTION_STRUCT* lastAction = nullptr;
        const bool read = actionLoadOld(in, rd.group, &scratch, lastAction);
        while (scratch != nullptr)
            delAction(&scratch, scratch);
        return read;
    }
    if (kind == VD_GROUP && depth >= kMaxGroupDepth)
        return in.refuse("groups nested deeper than %d levels", kMaxGroupDepth);
    ELEMENT_STRUCT* e = elementCreate(kind);
    if (e == nullptr)
        return in.refuse("out of memory");
    linkBehind(head, last, e);
    e->parent = parent;
    if (fullFrame) {
        if (!readFrameText(in, e->name, kNameBytes, "element name") ||
            !readFrameText(in, e->id, kIdBytes, "element id"))
            return false;
    } else if (rd.group >= 101) {
        std::memset(e->name, 0, sizeof e->name);
        if (!in.readFixed(e->name, kNameBytes, "an element frame"))
            return false;
    }
    if (!readBody(rd, e, kind, depth))
        return false;
    if (!runUpdate(e))
        return in.refuse("out of memory");
    ACTION_STRUCT* lastAction = nullptr;
    return actionLoadOld(in, rd.group, &e->actions, lastAction);
}

} // namespace

bool elementLoadOld(ViewReader& in, int group, ViewContent& out, int32_t kind)
{
    if (kind < 0 || kind > kLastKind)
        return in.refuse("element kind %d out of range", kind);
    Reader rd{in, group, out};
    return readElement(rd, kind, 0, &out.elements, out.lastElement, nullptr);
}

} // namespace dorne
