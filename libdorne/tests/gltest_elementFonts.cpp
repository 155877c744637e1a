// Graph and text records hold font handles of the font library: a new graph
// makes its label font, graphs share one font object, and deleting an
// element drops its reference.
#include "fontSupport.h"

#include <cstdlib>

namespace {

class ElementFonts : public FontGlTest
{
};

// The reference count of the only font object, 0 when there is none.
int references()
{
    const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.fonts.child;
    EXPECT_TRUE(node == nullptr || node->next == nullptr) << "one font object at most";
    return node != nullptr ? static_cast<const FNT_FONT*>(node->data)->refCount : 0;
}

TEST_F(ElementFonts, GraphsHoldOneSharedLabelFontUntilDeleted)
{
    ELEMENT_STRUCT* list = nullptr;
    elementAppend(elementCreate(VD_GRAPH), &list);
    elementAppend(elementCreate(VD_GRAPH), &list);
    const auto* first = static_cast<GRAPH_STRUCT*>(list->data);
    const auto* second = static_cast<GRAPH_STRUCT*>(list->next->data);
    ASSERT_TRUE(first->font != nullptr && second->font != nullptr);
    EXPECT_NE(first->font, second->font);
    EXPECT_EQ(ftFontScalable(reinterpret_cast<intptr_t>(first->font)), 0) << "Helvetica [fixed]";
    EXPECT_EQ(references(), 2);
    const intptr_t kept = reinterpret_cast<intptr_t>(first->font);
    EXPECT_EQ(elementDelete(list, &list), 0);
    EXPECT_EQ(references(), 1);
    EXPECT_EQ(ftFontScalable(kept), -2) << "the deleted graph's handle is released";
    // A text has no font until it is drawn or read.
    elementAppend(elementCreate(VD_TEXT), &list);
    EXPECT_EQ(static_cast<TEXT_STRUCT*>(list->next->data)->font, nullptr);
    EXPECT_EQ(elementDeleteAll(&list), 0);
    EXPECT_EQ(references(), 0);
}

TEST_F(ElementFonts, WithoutTheFontLibraryAGraphHasNoFont)
{
    ftLibraryFree();
    ELEMENT_STRUCT* graph = elementCreate(VD_GRAPH);
    EXPECT_EQ(static_cast<GRAPH_STRUCT*>(graph->data)->font, nullptr);
    EXPECT_EQ(elementDelete(graph, &graph), 0);
    ASSERT_EQ(ftLibraryInit(), 1);
}

} // namespace
