// Texts of the symbol file import with the font library set up: each gets
// its "Arial" font at the size its font number gives, and its position
// moves by half the measured size.
#include "fontSupport.h"

#include "dorneFiles.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

class SymbolFileTexts : public FontGlTest
{
};

TEST_F(SymbolFileTexts, TextsGetTheirFontAndMoveByHalfTheirSize)
{
    char pattern[] = "/tmp/dorneSymbolXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    const std::string path = std::string(pattern) + "/s.sym";
    std::ofstream(path) << "SYMBOL-NR. 1\nBEZUGSPUNKT_X 0 BEZUGSPUNK_Y 0\n"
                           "TEXT\nX1 100 Y1 50 Font 3 RGB-Farbe 0 0 0 CHARACTER Ventil_12\n"
                           "TEXT\nX1 -7 Y1 9 Font 0 RGB-Farbe 0 0 0 CHARACTER W\n";
    ELEMENT_STRUCT* list = nullptr;
    ASSERT_EQ(loadSymbolFile(path.c_str(), &list, nullptr, nullptr), 0);
    std::filesystem::remove_all(pattern);
    ASSERT_NE(list, nullptr);
    const struct
    {
        float x, y;
        int size;
        const char* text;
    } expected[] = {{100, 50, 18, "Ventil_12"}, {-7, 9, 12, "W"}};
    const ELEMENT_STRUCT* e = list->children;
    for (const auto& x : expected) {
        ASSERT_NE(e, nullptr);
        const auto* t = static_cast<const TEXT_STRUCT*>(e->data);
        ASSERT_NE(t->font, nullptr) << x.text;
        const intptr_t font = reinterpret_cast<intptr_t>(t->font);
        EXPECT_EQ(t->size, x.size) << x.text;
        EXPECT_EQ(t->scalable, ftFontScalable(font) == 1 ? 1 : 0);
        char copy[64];
        std::snprintf(copy, sizeof copy, "%s", x.text);
        int metric[2] = {0, 0};
        ftFontStringMetric(font, copy, metric);
        ASSERT_GT(metric[0], 0) << x.text; // the height may be 0 for an outline font
        EXPECT_EQ(t->x, x.x + float(metric[0]) / 2) << x.text;
        EXPECT_EQ(t->y, x.y + float(metric[1]) / 2) << x.text;
        e = e->next;
    }
    elementDeleteAll(&list);
}

} // namespace
