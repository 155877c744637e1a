// Fonts through the XML view file with the font library set up: a graph
// keeps one label font (the one its creation made is released), texts get
// live handles, the style codes 1, 2, 4 and 8 come back as written, and
// texts keep their display sizes and pixels.
#include "fontSupport.h"
#include "dataSourceSupport.h"

#include "dorneFiles.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

class ViewXmlFonts : public FontGlTest
{
protected:
    support::TempFolder folder;
};

const FNT_FONT* onlyFont()
{
    const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.fonts.child;
    EXPECT_TRUE(node == nullptr || node->next == nullptr) << "one font object at most";
    return node != nullptr ? static_cast<const FNT_FONT*>(node->data) : nullptr;
}

bool live(void* font)
{
    return font != nullptr && ftFontScalable(reinterpret_cast<intptr_t>(font)) >= 0;
}

TEST_F(ViewXmlFonts, GraphKeepsOneLabelFont)
{
    const std::string file = folder.path + "/graph.xml";
    ELEMENT_STRUCT* view = elementCreate(VD_GRAPH);
    CONFIG_STRUCT config{};
    ASSERT_EQ(saveFileXml(file.c_str(), view, nullptr, &config), 0);
    elementDeleteAll(&view);
    ASSERT_EQ(onlyFont(), nullptr);

    ELEMENT_STRUCT* list = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ASSERT_EQ(loadFileXml(file.c_str(), &list, &sources, &config), 0);
    ASSERT_NE(list, nullptr);
    auto* g = static_cast<GRAPH_STRUCT*>(list->data);
    EXPECT_TRUE(live(g->font));
    ASSERT_NE(onlyFont(), nullptr);
    EXPECT_EQ(onlyFont()->refCount, 1) << "the label font of the graph's creation is released";
    EXPECT_STREQ(g->family, "Helvetica [fixed]");
    EXPECT_EQ(g->style, 1);
    EXPECT_EQ(g->size, 10);
    elementDeleteAll(&list);
    EXPECT_EQ(onlyFont(), nullptr);
}

TEST_F(ViewXmlFonts, StyleCodesRoundTripWithLiveHandles)
{
    const std::string file = folder.path + "/texts.xml";
    const int styles[] = {1, 2, 4, 8};
    ELEMENT_STRUCT* view = nullptr;
    for (int style : styles) {
        for (int kind : {VD_TEXT, VD_GRAPH}) {
            ELEMENT_STRUCT* e = elementCreate(kind);
            if (kind == VD_TEXT) {
                auto* t = static_cast<TEXT_STRUCT*>(e->data);
                std::strcpy(t->family, "FamB [fixed]");
                t->style = style;
                t->size = 14;
            } else {
                auto* g = static_cast<GRAPH_STRUCT*>(e->data);
                std::strcpy(g->family, "FamS [fixed]");
                g->style = style;
                g->size = 14;
            }
            elementAppend(e, &view);
        }
    }
    CONFIG_STRUCT config{};
    ASSERT_EQ(saveFileXml(file.c_str(), view, nullptr, &config), 0);
    elementDeleteAll(&view);

    ELEMENT_STRUCT* list = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ASSERT_EQ(loadFileXml(file.c_str(), &list, &sources, &config), 0);
    ELEMENT_STRUCT* e = list;
    for (int style : styles) {
        SCOPED_TRACE("style " + std::to_string(style));
        ASSERT_NE(e, nullptr);
        auto* t = static_cast<TEXT_STRUCT*>(e->data);
        EXPECT_EQ(t->style, style);
        EXPECT_STREQ(t->family, "FamB [fixed]");
        EXPECT_EQ(t->size, 14);
        EXPECT_TRUE(live(t->font));
        EXPECT_EQ(t->scalable, 0) << "a bitmap family";
        auto* g = static_cast<GRAPH_STRUCT*>(e->next->data);
        EXPECT_EQ(g->style, style);
        EXPECT_TRUE(live(g->font));
        e = e->next->next;
    }
    elementDeleteAll(&list);
}

// Texts of several display sizes in an outline family, as a binary view
// file leaves them, through an XML round trip: each keeps its display size
// and the view draws the same pixels.
TEST_F(ViewXmlFonts, TextsKeepTheirDisplaySizesAndPixels)
{
    const int sizes[][2] = {{12, 12}, {30, 16}, {20, 22}, {18, 40}}; // font size, display size
    ELEMENT_STRUCT* view = nullptr;
    for (size_t i = 0; i < 4; ++i) {
        ELEMENT_STRUCT* e = elementCreate(VD_TEXT);
        auto* t = static_cast<TEXT_STRUCT*>(e->data);
        std::strcpy(t->text, "Wg8");
        std::strcpy(t->family, "Arial");
        t->size = sizes[i][0];
        t->displaySize = sizes[i][1];
        t->x = 20;
        t->y = 20 + 55 * float(i);
        t->align = 7;
        elementAppend(e, &view);
    }
    CONFIG_STRUCT config{};
    const std::string binary = folder.path + "/texts.v", xml = folder.path + "/texts.xml";
    ASSERT_EQ(saveFile(binary.c_str(), view, nullptr, &config), 0);
    elementDeleteAll(&view);
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    ASSERT_EQ(loadFile(binary.c_str(), &view, &sources, &config), 0);
    ASSERT_EQ(saveFileXml(xml.c_str(), view, nullptr, &config), 0);
    ELEMENT_STRUCT* list = nullptr;
    ASSERT_EQ(loadFileXml(xml.c_str(), &list, &sources, &config), 0);

    const ELEMENT_STRUCT* e = list;
    for (const auto& size : sizes) {
        ASSERT_NE(e, nullptr);
        const auto* t = static_cast<const TEXT_STRUCT*>(e->data);
        EXPECT_EQ(t->size, size[0]);
        EXPECT_EQ(t->displaySize, size[1]);
        EXPECT_EQ(t->scalable, 1);
        e = e->next;
    }
    clear(0, 0, 0, 1);
    draw(view, 0);
    const std::vector<uint8_t> before = readPixels(0, 0, kWidth, kHeight);
    clear(0, 0, 0, 1);
    draw(list, 0);
    const std::vector<uint8_t> after = readPixels(0, 0, kWidth, kHeight);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_GT(litIn(10, 15 + 55 * int(i), 200, 60 + 55 * int(i)), 20) << "text " << i << " drawn";
    EXPECT_TRUE(before == after) << "the same pixels";
    elementDeleteAll(&view);
    elementDeleteAll(&list);
}

} // namespace
