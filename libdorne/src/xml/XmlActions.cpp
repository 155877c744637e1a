// The "action" records of the XML view file: the kind as a "type" keyword
// (and a second keyword for some kinds), the kind's own attributes, the
// threshold blocks the kind carries and the "action-para" children with
// the variables' names and value mappings.
#include "xml/XmlElements.h"

#include "dorneLog.h"

#include <cstring>

namespace dorne {

namespace {

enum Block { kColor, kStyle, kWidth, kVisibility, kBlink, kBlocks };
const char* const kBlockNames[kBlocks] = {"color", "linestyle", "linewidth", "visibility", "blink"};

TH_BLOCK& blockOf(ACTION_STRUCT& a, int block)
{
    switch (block) {
    case kColor: return a.thColor;
    case kStyle: return a.thStyle;
    case kWidth: return a.thWidth;
    case kVisibility: return a.thVisibility;
    default: return a.thBlink;
    }
}
const TH_BLOCK& blockOf(const ACTION_STRUCT& a, int block)
{
    return blockOf(const_cast<ACTION_STRUCT&>(a), block);
}

const char* const kButtons[] = {"left", "center", "right"};
const char* const kMouseActions[] = {"press", "release", "movex", "movey", "movexabs", "moveyabs", "rotate", "move"};
const char* const kModes[] = {"set", "inc", "dec"};
const char* const kFilters[] = {"none", "time", "pt1"};

template <size_t N>
void setKeyword(XmlElement& node, const char* name, const char* const (&words)[N], int code)
{
    if (code >= 0 && code < int(N))
        node.setAttributeString(name, words[code]);
}

// The code of the attribute's keyword; field unchanged when it is missing
// or unknown.
template <size_t N>
void readKeyword(const XmlElement& node, const char* name, const char* const (&words)[N], int32_t& field)
{
    const std::string text = node.getAttributeString(name);
    for (size_t k = 0; k < N; ++k)
        if (text == words[k])
            field = int32_t(k);
}

void writeThreshold(XmlElement& action, const ACTION_STRUCT& a, int block)
{
    const TH_BLOCK& b = blockOf(a, block);
    XmlElement threshold("threshold");
    threshold.setAttributeString("type", kBlockNames[block]);
    threshold.setAttributeDouble("min", b.min);
    threshold.setAttributeDouble("max", b.max);
    for (const TH_STRUCT* th = b.list; th != nullptr; th = th->next) {
        XmlElement value("threshold-value");
        value.setAttributeDouble("x", th->level);
        switch (block) {
        case kColor: value.setAttributeColor("value", Color(th->r, th->g, th->b, 1.0f)); break;
        case kStyle: value.setAttributeDouble("value", th->strokeId); break;
        case kVisibility: value.setAttributeBool("value", th->intValue != 0); break;
        default: value.setAttributeDouble("value", th->intValue); break;
        }
        threshold.appendElement(value);
    }
    action.appendElement(threshold);
}

void writePara(XmlElement& action, const ACTION_STRUCT& a, bool second)
{
    XmlElement para("action-para");
    para.setAttributeString("id", second ? fieldText(a.secondVar, sizeof a.secondVar) : fieldText(a.var, sizeof a.var));
    para.setAttributeDouble("a0", second ? a.secondA0 : a.a0);
    para.setAttributeDouble("a1", second ? a.secondA1 : a.a1);
    para.setAttributeDouble("b0", second ? a.secondB0 : a.b0);
    para.setAttributeDouble("b1", second ? a.secondB1 : a.b1);
    para.setAttributeBool("limit", a.limit != 0);
    setKeyword(para, "filter", kFilters, a.filter);
    para.setAttributeDouble("filter-time", a.filterTime);
    action.appendElement(para);
}

void translate(XmlElement& node, const char* type, const char* axis)
{
    node.setAttributeString("type", "translate");
    node.setAttributeString("translate-type", type);
    node.setAttributeString("axis", axis);
}

// The scale kinds keep their pivot: "cg" follows "axis".
void scale(XmlElement& node, const char* axis, int pivot)
{
    node.setAttributeString("type", "scale");
    node.setAttributeString("axis", axis);
    node.setAttributePosition("cg", pivot);
}

void fill(XmlElement& node, const char* direction)
{
    node.setAttributeString("type", "fill");
    node.setAttributeString("fill-direction", direction);
}

// The kind from "type" and its second keyword; 0 when they match no kind.
int readKind(const XmlElement& node)
{
    const std::string type = node.getAttributeString("type");
    if (type == "translate") {
        const std::string how = node.getAttributeString("translate-type");
        const std::string axis = node.getAttributeString("axis");
        if (how == "polyline")
            return 11;
        const int x = how == "normal" ? 1 : how == "relative" ? 7 : how == "absolute" ? 9 : 0;
        if (x == 0)
            return 0;
        return axis == "x" ? x : axis == "y" ? x + 1 : 0;
    }
    if (type == "scale") {
        const std::string axis = node.getAttributeString("axis");
        return axis == "x" ? 3 : axis == "y" ? 4 : axis == "xy" ? 16 : 0;
    }
    if (type == "fill") {
        const std::string d = node.getAttributeString("fill-direction");
        return d == "up" ? 18 : d == "down" ? 19 : d == "left" ? 20 : d == "right" ? 21 : 0;
    }
    static const struct { const char* word; int kind; } plain[] = {
        {"text", 0}, {"rotate", 5}, {"graph", 6}, {"stroke-color", 12}, {"fill-color", 13},
        {"stroke-width", 14}, {"stroke-style", 15}, {"visible", 17}, {"mouse", 22}, {"arc", 24}, {"blink", 25}};
    for (const auto& p : plain)
        if (type == p.word)
            return p.kind;
    return 0;
}

bool readThreshold(XmlElement& threshold, ACTION_STRUCT& a, const DefinitionReader& definitions)
{
    const std::string type = threshold.getAttributeString("type");
    int block = 0;
    while (block < kBlocks && type != kBlockNames[block])
        ++block;
    if (block == kBlocks)
        return true;
    TH_BLOCK& b = blockOf(a, block);
    b.min = checkedFloat(threshold.getAttributeDouble("min"));
    b.max = checkedFloat(threshold.getAttributeDouble("max"));
    TH_STRUCT* previous = nullptr;
    for (XmlElement v = threshold.firstElement(); v.valid(); v = v.nextElement()) {
        if (v.name() != "threshold-value")
            continue;
        TH_STRUCT* th = xmlFactory.th();
        if (th == nullptr) {
            logMsg(1, "loadFileXml: out of memory for a threshold entry\n");
            return false;
        }
        th->level = checkedFloat(v.getAttributeDouble("x"));
        th->upperLevel = b.max;
        if (previous != nullptr)
            previous->upperLevel = th->level;
        switch (block) {
        case kColor: {
            const Color c = v.getAttributeColor("value");
            th->r = c.r();
            th->g = c.g();
            th->b = c.b();
            break;
        }
        case kStyle: {
            th->strokeId = v.getAttributeInt("value");
            int factor = 0, style = 0;
            unsigned short pattern = 0;
            definitions.calcStroke(th->strokeId, &factor, &pattern, &style);
            th->stippleFactor = factor;
            th->stipplePattern = pattern;
            th->intValue = style;
            break;
        }
        case kWidth: th->intValue = v.getAttributeInt("value"); break;
        case kVisibility: th->intValue = v.getAttributeBool("value") ? 1 : 0; break;
        default: th->intValue = checkedInt(v.getAttributeDouble("value")); break;
        }
        appendTh(&b.list, th);
        previous = th;
    }
    return true;
}

} // namespace

void actionSaveXml(const ACTION_STRUCT* first, XmlElement* node)
{
    if (node == nullptr)
        return;
    for (const ACTION_STRUCT* a = first; a != nullptr; a = a->next) {
        XmlElement action("action");
        action.setAttributeString("name", "ActionName");
        bool blocks[kBlocks] = {};
        switch (a->type) {
        case 0:
            action.setAttributeString("type", "text");
            action.setAttributeString("format", fieldText(a->format, sizeof a->format));
            break;
        case 1: translate(action, "normal", "x"); break;
        case 2: translate(action, "normal", "y"); break;
        case 3: scale(action, "x", a->pivot); break;
        case 4: scale(action, "y", a->pivot); break;
        case 5:
            action.setAttributeString("type", "rotate");
            action.setAttributePosition("cg", a->pivot);
            break;
        case 6:
            action.setAttributeString("type", "graph");
            blocks[kColor] = blocks[kWidth] = true;
            break;
        case 7: translate(action, "relative", "x"); break;
        case 8: translate(action, "relative", "y"); break;
        case 9: translate(action, "absolute", "x"); break;
        case 10: translate(action, "absolute", "y"); break;
        case 11:
            action.setAttributeString("type", "translate");
            action.setAttributeString("translate-type", "polyline");
            action.setAttributeString("translate-poly", fieldText(a->polyName, sizeof a->polyName));
            break;
        case 12:
        case 13:
            action.setAttributeString("type", a->type == 12 ? "stroke-color" : "fill-color");
            action.setAttributeBool("usethr", true);
            blocks[kColor] = true;
            break;
        case 14:
            action.setAttributeString("type", "stroke-width");
            action.setAttributeBool("usethr", true);
            blocks[kWidth] = true;
            break;
        case 15:
            action.setAttributeString("type", "stroke-style");
            blocks[kStyle] = true;
            break;
        case 16: scale(action, "xy", a->pivot); break;
        case 17:
            action.setAttributeString("type", "visible");
            if (a->visibleMode == 0) {
                action.setAttributeBool("usethr", true);
                blocks[kVisibility] = true;
            } else if (a->visibleMode == 1) {
                action.setAttributeBool("usethr", false);
                action.setAttributeInt("visible-value", a->visibleValue);
            }
            break;
        case 18: fill(action, "up"); break;
        case 19: fill(action, "down"); break;
        case 20: fill(action, "left"); break;
        case 21: fill(action, "right"); break;
        case 22:
            action.setAttributeString("type", "mouse");
            setKeyword(action, "mouse-button", kButtons, a->mouseButton);
            setKeyword(action, "mouse-action", kMouseActions, a->mouseAction);
            setKeyword(action, "mouse-mode", kModes, a->mouseMode);
            action.setAttributeBool("mouse-loop", a->mouseClamp == 0);
            action.setAttributeDouble("mouse-inc", a->mouseInc);
            action.setAttributeDouble("mouse-min", a->mouseMin);
            action.setAttributeDouble("mouse-max", a->mouseMax);
            action.setAttributeBool("mouse-hidden-active", a->mouseHiddenActive != 0);
            break;
        case 24:
            action.setAttributeString("type", "arc");
            action.setAttributeString("point-id", "begin");
            break;
        case 25:
            action.setAttributeString("type", "blink");
            action.setAttributeBool("usethr", true);
            blocks[kBlink] = true;
            break;
        default: // 23 and unknown kinds have no keyword
            break;
        }
        for (int block = 0; block < kBlocks; ++block)
            if (blocks[block])
                writeThreshold(action, *a, block);
        writePara(action, *a, false);
        if (a->type == 6)
            writePara(action, *a, true);
        node->appendElement(action);
    }
}

bool actionLoadXml(XmlElement& node, ACTION_STRUCT** list, const DefinitionReader& definitions)
{
    int number = 0;
    for (XmlElement child = node.firstElement(); child.valid(); child = child.nextElement()) {
        if (child.name() != "action")
            continue;
        ACTION_STRUCT* a = xmlFactory.action();
        if (a == nullptr) {
            logMsg(1, "loadFileXml: out of memory for an action\n");
            return false;
        }
        a->id = number++;
        a->type = readKind(child);
        copyName(a->format, child.getAttributeString("format"));
        copyName(a->polyName, child.getAttributeString("translate-poly"));
        a->pivot = child.getAttributePosition("cg");
        a->visibleMode = child.getAttributeBool("usethr") ? 0 : 1;
        a->visibleValue = child.getAttributeInt("visible-value");
        readKeyword(child, "mouse-button", kButtons, a->mouseButton);
        readKeyword(child, "mouse-action", kMouseActions, a->mouseAction);
        readKeyword(child, "mouse-mode", kModes, a->mouseMode);
        a->mouseClamp = child.getAttributeBool("mouse-loop") ? 0 : 1;
        a->mouseInc = checkedFloat(child.getAttributeDouble("mouse-inc"));
        a->mouseMin = checkedFloat(child.getAttributeDouble("mouse-min"));
        a->mouseMax = checkedFloat(child.getAttributeDouble("mouse-max"));
        a->mouseHiddenActive = child.getAttributeBool("mouse-hidden-active") ? 1 : 0;

        bool firstPara = true;
        for (XmlElement p = child.firstElement(); p.valid(); p = p.nextElement()) {
            if (p.name() != "action-para")
                continue;
            const float a0 = checkedFloat(p.getAttributeDouble("a0")), a1 = checkedFloat(p.getAttributeDouble("a1"));
            const float b0 = checkedFloat(p.getAttributeDouble("b0")), b1 = checkedFloat(p.getAttributeDouble("b1"));
            if (firstPara) {
                copyName(a->var, p.getAttributeString("id"));
                a->a0 = a0, a->a1 = a1, a->b0 = b0, a->b1 = b1;
            } else {
                copyName(a->secondVar, p.getAttributeString("id"));
                a->secondA0 = a0, a->secondA1 = a1, a->secondB0 = b0, a->secondB1 = b1;
            }
            firstPara = false;
            a->limit = p.getAttributeBool("limit") ? 1 : 0;
            readKeyword(p, "filter", kFilters, a->filter);
            a->filterTime = checkedFloat(p.getAttributeDouble("filter-time"));
        }
        // Linked first, so that the list's owner frees it with what it
        // holds when a threshold entry cannot be made.
        appendAction(list, a);
        for (XmlElement t = child.firstElement(); t.valid(); t = t.nextElement())
            if (t.name() == "threshold" && !readThreshold(t, *a, definitions))
                return false;
    }
    return true;
}

} // namespace dorne
