// The "graph" record of the XML view file: a GRAPH element's box, ranges,
// autoscaling, grid, ticks and labels, its grid stroke and its label font
// by definition id.
#include "xml/XmlElements.h"

#include "elements/elementKinds.h"

#include <cstddef>

namespace dorne {

namespace {

// One attribute per field, in the writer's order.
enum Codec { kDouble, kInt, kBool, kColor, kX, kY };
struct GraphField
{
    const char* name;
    Codec codec;
    size_t offset;
};

#define FIELD(name, codec, member) {name, codec, offsetof(GRAPH_STRUCT, member)}
const GraphField kFields[] = {
    FIELD("x", kX, x),
    FIELD("y", kY, y),
    FIELD("width", kDouble, width),
    FIELD("height", kDouble, height),
    FIELD("type", kInt, type),
    FIELD("ymin", kDouble, ymin),
    FIELD("ymax", kDouble, ymax),
    FIELD("xmin", kDouble, xmin),
    FIELD("xmax", kDouble, xmax),
    FIELD("rate", kDouble, rate),
    FIELD("autoscale", kBool, autoscale),
    FIELD("autoscalex", kBool, autoscaleX),
    FIELD("minspreadx", kDouble, minSpreadX),
    FIELD("minspready", kDouble, minSpreadY),
    FIELD("samples", kInt, samples),
    FIELD("bars", kBool, bars),
    FIELD("outline-color", kColor, outlineColor),
    FIELD("background-color", kColor, backgroundColor),
    FIELD("outline-width", kDouble, outlineWidth),
    FIELD("gridx", kBool, gridX),
    FIELD("gridy", kBool, gridY),
    FIELD("gridx-auto", kBool, gridXAuto),
    FIELD("gridy-auto", kBool, gridYAuto),
    FIELD("gridx-space", kDouble, gridXSpace),
    FIELD("gridy-space", kDouble, gridYSpace),
    FIELD("gridx-ref", kDouble, gridXRef),
    FIELD("gridy-ref", kDouble, gridYRef),
    FIELD("grid-style", kInt, gridStyle),
    FIELD("grid-color", kColor, gridColor),
    FIELD("labelx", kBool, labelX),
    FIELD("labely", kBool, labelY),
    FIELD("labelyr", kBool, labelYR),
    FIELD("tickx", kBool, tickX),
    FIELD("ticky", kBool, tickY),
    FIELD("tickyr", kBool, tickYR),
    FIELD("tickx-auto", kBool, tickXAuto),
    FIELD("ticky-auto", kBool, tickYAuto),
    FIELD("tickx-space", kDouble, tickXSpace),
    FIELD("ticky-space", kDouble, tickYSpace),
    FIELD("tickx-ref", kDouble, tickXRef),
    FIELD("ticky-ref", kDouble, tickYRef),
    FIELD("tickx-sub", kInt, tickXSub),
    FIELD("ticky-sub", kInt, tickYSub),
    FIELD("tick-width", kDouble, tickWidth),
    FIELD("font", kInt, fontId),
    FIELD("label-fixx", kBool, labelFixX),
    FIELD("label-fixy", kBool, labelFixY),
    FIELD("label-xmin", kDouble, labelXMin),
    FIELD("label-xmax", kDouble, labelXMax),
    FIELD("label-ymin", kDouble, labelYMin),
    FIELD("label-ymax", kDouble, labelYMax),
};
#undef FIELD

float& floatAt(GRAPH_STRUCT* g, size_t offset)
{
    return *reinterpret_cast<float*>(reinterpret_cast<char*>(g) + offset);
}
int32_t& intAt(GRAPH_STRUCT* g, size_t offset)
{
    return *reinterpret_cast<int32_t*>(reinterpret_cast<char*>(g) + offset);
}

} // namespace

void graphSaveXml(const ELEMENT_STRUCT* e, XmlElement& record, const XmlWriteState& state)
{
    auto* g = static_cast<GRAPH_STRUCT*>(e->data);
    for (const GraphField& f : kFields) {
        switch (f.codec) {
        case kX: record.setAttributeDouble(f.name, double(floatAt(g, f.offset)) - state.wx); break;
        case kY: record.setAttributeDouble(f.name, double(floatAt(g, f.offset)) - state.wy); break;
        case kDouble: record.setAttributeDouble(f.name, floatAt(g, f.offset)); break;
        case kInt: record.setAttributeInt(f.name, intAt(g, f.offset)); break;
        case kBool: record.setAttributeBool(f.name, intAt(g, f.offset) != 0); break;
        case kColor: {
            const float* c = &floatAt(g, f.offset);
            record.setAttributeColor(f.name, Color(c[0], c[1], c[2], c[3]));
            break;
        }
        }
    }
}

void graphLoadXml(XmlElement& record, ELEMENT_STRUCT* e, const XmlReadState& state)
{
    auto* g = static_cast<GRAPH_STRUCT*>(e->data);
    for (const GraphField& f : kFields) {
        switch (f.codec) {
        case kX: floatAt(g, f.offset) = checkedFloat(record.getAttributeDouble(f.name) + state.wx); break;
        case kY: floatAt(g, f.offset) = checkedFloat(record.getAttributeDouble(f.name) + state.wy); break;
        case kDouble: floatAt(g, f.offset) = checkedFloat(record.getAttributeDouble(f.name)); break;
        case kInt: intAt(g, f.offset) = record.getAttributeInt(f.name); break;
        case kBool: intAt(g, f.offset) = record.getAttributeBool(f.name) ? 1 : 0; break;
        case kColor: setColor(record.getAttributeColor(f.name), &floatAt(g, f.offset)); break;
        }
    }
    int factor = 0, style = 0;
    unsigned short pattern = 0;
    state.definitions.calcStroke(g->gridStyle, &factor, &pattern, &style);
    g->gridStippleFactor = factor;
    g->gridStipplePattern = pattern;
    g->gridStyleIndex = style;

    const auto found = state.definitions.mapFont.find(g->fontId);
    if (found == state.definitions.mapFont.end())
        return; // the label font of the graph's creation stays
    vdiCopyName(g->family, sizeof g->family, found->second.family.c_str());
    g->style = fontStyle(found->second);
    g->size = found->second.size;
    // The font made for the file replaces the one of the graph's creation.
    void* made = vdiFontCreate(g->family, g->style, g->size);
    vdiFontRelease(g->font);
    g->font = made;
}

} // namespace dorne
