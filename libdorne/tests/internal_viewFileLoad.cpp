// A whole view file read by loadFile against the same file read by the
// exported pieces (which run each element's update hook as they read it)
// followed by the style pass over the whole list: the whole-file read does
// the style pass's work as it reads, and both must end alike, elements the
// list held before included. Every element's box, pick fields, attributes,
// grab handles and kind record are compared, and the saved bytes.
#include "files/viewFile.h"

#include "fontSupport.h"
#include "leakCheck.h"
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using viewfile::Bytes;
using viewfile::readBytes;

const long kBodyOffset = 30 + 4 + 4; // header text and the two revision ints


// Appends the view of path to *list as the 3.03 body reader reads it.
void loadPieces(const std::string& path, ELEMENT_STRUCT** list)
{
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, kBodyOffset, SEEK_SET), 0);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
    EXPECT_EQ(loadFile_303(file, list, &sources, &config, 303), 0);
    std::fclose(file);
    EXPECT_EQ(sources, nullptr) << "the view has no data sources";
}

template <typename T>
bool sameBytes(const T& a, const T& b)
{
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The kind records, with what is only a handle (fonts, textures, display
// list names) left out.
void expectSameRecord(const ELEMENT_STRUCT* a, const ELEMENT_STRUCT* b, const std::string& where)
{
    switch (a->kind) {
    case VD_RECTANGLE:
        EXPECT_TRUE(sameBytes(*static_cast<RECT_STRUCT*>(a->data), *static_cast<RECT_STRUCT*>(b->data))) << where;
        break;
    case VD_CIRCLE:
    case VD_ARC:
        EXPECT_TRUE(sameBytes(*static_cast<CIRCLE_STRUCT*>(a->data), *static_cast<CIRCLE_STRUCT*>(b->data))) << where;
        break;
    case VD_LINE:
        EXPECT_TRUE(sameBytes(*static_cast<LINE_STRUCT*>(a->data), *static_cast<LINE_STRUCT*>(b->data))) << where;
        break;
    case VD_BUTTON:
        EXPECT_TRUE(sameBytes(*static_cast<BUTTON_STRUCT*>(a->data), *static_cast<BUTTON_STRUCT*>(b->data))) << where;
        break;
    case VD_SLIDER:
        EXPECT_TRUE(sameBytes(*static_cast<SLIDER_STRUCT*>(a->data), *static_cast<SLIDER_STRUCT*>(b->data))) << where;
        break;
    case VD_SCISSOR:
        EXPECT_TRUE(sameBytes(*static_cast<SCISSOR_STRUCT*>(a->data), *static_cast<SCISSOR_STRUCT*>(b->data)))
            << where;
        break;
    case VD_POLYGON:
    case VD_CPOLYGON: {
        POLY_STRUCT pa = *static_cast<POLY_STRUCT*>(a->data), pb = *static_cast<POLY_STRUCT*>(b->data);
        EXPECT_EQ(pa.glList != 0, pb.glList != 0) << where;
        const COORD_STRUCT *ca = pa.coords, *cb = pb.coords;
        for (; ca != nullptr && cb != nullptr; ca = ca->next, cb = cb->next) {
            EXPECT_EQ(ca->id, cb->id) << where;
            EXPECT_EQ(ca->x, cb->x) << where;
            EXPECT_EQ(ca->y, cb->y) << where;
            EXPECT_EQ(ca->localX, cb->localX) << where;
            EXPECT_EQ(ca->localY, cb->localY) << where;
            EXPECT_EQ(ca->localZ, cb->localZ) << where;
        }
        EXPECT_TRUE(ca == nullptr && cb == nullptr) << where << ": point counts differ";
        EXPECT_EQ(pa.fillCoords == nullptr, pb.fillCoords == nullptr) << where;
        pa.coords = pb.coords = pa.fillCoords = pb.fillCoords = nullptr;
        pa.glList = pb.glList = 0;
        EXPECT_TRUE(sameBytes(pa, pb)) << where;
        break;
    }
    case VD_TEXT: {
        TEXT_STRUCT ta = *static_cast<TEXT_STRUCT*>(a->data), tb = *static_cast<TEXT_STRUCT*>(b->data);
        EXPECT_EQ(ta.font != nullptr, tb.font != nullptr) << where;
        ta.font = tb.font = nullptr;
        EXPECT_TRUE(sameBytes(ta, tb)) << where;
        break;
    }
    case VD_GRAPH: {
        const auto &ga = *static_cast<GRAPH_STRUCT*>(a->data), &gb = *static_cast<GRAPH_STRUCT*>(b->data);
        EXPECT_EQ(ga.gridStyleIndex, gb.gridStyleIndex) << where;
        EXPECT_EQ(ga.gridStippleFactor, gb.gridStippleFactor) << where;
        EXPECT_EQ(ga.gridStipplePattern, gb.gridStipplePattern) << where;
        break;
    }
    case VD_TEXTURE: {
        const auto &ia = *static_cast<IMAGE_STRUCT*>(a->data), &ib = *static_cast<IMAGE_STRUCT*>(b->data);
        EXPECT_EQ(std::memcmp(ia.patternBits, ib.patternBits, sizeof ia.patternBits), 0) << where;
        EXPECT_EQ(std::memcmp(ia.drawX, ib.drawX, sizeof ia.drawX), 0) << where;
        EXPECT_EQ(std::memcmp(ia.drawY, ib.drawY, sizeof ia.drawY), 0) << where;
        break;
    }
    default:
        EXPECT_EQ(a->data == nullptr, b->data == nullptr) << where;
    }
}

// Element by element, children and actions' line-style entries included;
// counts how many were compared.
void expectSameTree(const ELEMENT_STRUCT* a, const ELEMENT_STRUCT* b, const std::string& where, int& compared)
{
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        const std::string at = where + "/" + a->name;
        ++compared;
        ASSERT_EQ(a->kind, b->kind) << at;
        EXPECT_STREQ(a->name, b->name) << at;
        for (auto field : {&ELEMENT_STRUCT::x, &ELEMENT_STRUCT::y, &ELEMENT_STRUCT::width, &ELEMENT_STRUCT::height,
                           &ELEMENT_STRUCT::minX, &ELEMENT_STRUCT::minY, &ELEMENT_STRUCT::maxX, &ELEMENT_STRUCT::maxY,
                           &ELEMENT_STRUCT::centreX, &ELEMENT_STRUCT::centreY, &ELEMENT_STRUCT::pickX1,
                           &ELEMENT_STRUCT::pickY1, &ELEMENT_STRUCT::pickX2, &ELEMENT_STRUCT::pickY2})
            EXPECT_EQ(a->*field, b->*field) << at;
        EXPECT_EQ(a->pickAsLine, b->pickAsLine) << at;
        EXPECT_TRUE(sameBytes(a->attr, b->attr)) << at << ": drawing attributes";
        const STICKY_STRUCT *sa = a->stickies, *sb = b->stickies;
        int handles = 0;
        for (; sa != nullptr && sb != nullptr; sa = sa->next, sb = sb->next, ++handles) {
            EXPECT_EQ(sa->id, sb->id) << at << " handle " << handles;
            EXPECT_EQ(sa->type, sb->type) << at << " handle " << handles;
            EXPECT_EQ(sa->selected, sb->selected) << at << " handle " << handles;
            EXPECT_EQ(sa->x, sb->x) << at << " handle " << handles;
            EXPECT_EQ(sa->y, sb->y) << at << " handle " << handles;
            EXPECT_EQ(sa->halfWidth, sb->halfWidth) << at << " handle " << handles;
            EXPECT_EQ(sa->halfHeight, sb->halfHeight) << at << " handle " << handles;
        }
        EXPECT_TRUE(sa == nullptr && sb == nullptr) << at << ": handle counts differ after " << handles;
        if (a->update != nullptr) {
            EXPECT_GT(handles, 0) << at << ": its update never ran";
        }
        expectSameRecord(a, b, at);
        const ACTION_STRUCT *aa = a->actions, *ab = b->actions;
        for (; aa != nullptr && ab != nullptr; aa = aa->next, ab = ab->next) {
            const TH_STRUCT *ta = aa->thStyle.list, *tb = ab->thStyle.list;
            for (; ta != nullptr && tb != nullptr; ta = ta->next, tb = tb->next) {
                EXPECT_EQ(ta->stippleFactor, tb->stippleFactor) << at;
                EXPECT_EQ(ta->stipplePattern, tb->stipplePattern) << at;
            }
            EXPECT_TRUE(ta == nullptr && tb == nullptr) << at;
        }
        EXPECT_TRUE(aa == nullptr && ab == nullptr) << at << ": action counts differ";
        expectSameTree(a->children, b->children, at, compared);
    }
    EXPECT_TRUE(a == nullptr && b == nullptr) << where << ": element counts differ";
}

class ViewFileLoad : public FontLeakTest
{
};

// Every kind, a group in a group holding an element without kind record
// (whose place only its group's update moves), actions with line-style
// entries; the list already holds one unresolved copy of the view.
TEST_F(ViewFileLoad, AWholeFileEndsAsItsPiecesAndTheStylePassEnd)
{
    ELEMENT_STRUCT* view = viewfile::everyKindView();
    ELEMENT_STRUCT* outer = view;
    while (std::strcmp(outer->name, "outer") != 0)
        outer = outer->next;
    ELEMENT_STRUCT* inner = outer->children;
    // Beside the element without kind record, whose box stays 0 0 0 0: the
    // inner group's box is 0 to 50 by 0 to 40, centre 25, 20.
    ELEMENT_STRUCT* inside = viewfile::add(&inner->children, VD_RECTANGLE, "inside", 14);
    inside->parent = inner;
    viewfile::corners(static_cast<RECT_STRUCT*>(inside->data)->x, static_cast<RECT_STRUCT*>(inside->data)->y, 10,
                      20, 50, 40);
    // The line-style entries of every action get a style of their own.
    int style = 1;
    for (ELEMENT_STRUCT* e = view; e != nullptr; e = e->next)
        for (ACTION_STRUCT* a = e->actions; a != nullptr; a = a->next)
            for (TH_STRUCT* th = a->thStyle.list; th != nullptr; th = th->next)
                th->intValue = style++ % 10;
    CONFIG_STRUCT config = viewfile::sampleConfig();
    const std::string path = mFolder.file("view.v");
    ASSERT_EQ(saveFile(path.c_str(), view, nullptr, &config), 0);
    elementDeleteAll(&view);

    // The reference: each element's hook as it is read, then the style
    // pass over the whole list.
    ELEMENT_STRUCT* reference = nullptr;
    loadPieces(path, &reference);
    loadPieces(path, &reference);
    for (ELEMENT_STRUCT* e = reference; e != nullptr; e = e->next)
        dorne::definitionLoad(e);

    ELEMENT_STRUCT* whole = nullptr;
    loadPieces(path, &whole);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT read{};
    ASSERT_EQ(loadFile(path.c_str(), &whole, &sources, &read), 0);

    int compared = 0;
    expectSameTree(reference, whole, "", compared);
    EXPECT_EQ(compared, 2 * 16) << "every element of both copies";
    // Each run of the inner group's update moves the element without kind
    // record by the group's centre: two runs as it is read (its own and the
    // outer group's), two in the style pass.
    for (const ELEMENT_STRUCT* e = whole; e != nullptr; e = e->next) {
        if (std::strcmp(e->name, "outer") != 0)
            continue;
        const ELEMENT_STRUCT* nine = e->children->children;
        ASSERT_EQ(nine->kind, 9);
        EXPECT_EQ(nine->x, -4 * 25.0f);
        EXPECT_EQ(nine->y, -4 * 20.0f);
    }

    const std::string a = mFolder.file("reference.v"), b = mFolder.file("whole.v");
    ASSERT_EQ(saveFile(a.c_str(), reference, nullptr, &config), 0);
    ASSERT_EQ(saveFile(b.c_str(), whole, nullptr, &config), 0);
    EXPECT_EQ(readBytes(a), readBytes(b));
    elementDeleteAll(&reference);
    elementDeleteAll(&whole);
    EXPECT_EQ(sources, nullptr);
}

} // namespace
