// GL tests of the kinds that draw text: the offscreen context with the font
// library set up from its built-in fonts and a folder of small bitmap
// families made for the test ("FamB [fixed]": bold only, sizes 11, 14, 17;
// "FamS [fixed]": regular, sizes 10, 14; "FamT [fixed]": regular, sizes 11,
// 13, listed in that order).
#ifndef DORNE_FONT_SUPPORT_H
#define DORNE_FONT_SUPPORT_H

#include "../../libsarto/tests/fontFixtures.h"
#include "dorneElements.h"
#include "dorneGlTest.h"
#include "dorneLog.h"
#include "leakCheck.h"
#include "sartoFonts.h"

#include <GL/gl.h>

#include <array>
#include <string>
#include <vector>

class FontGlTest : public DorneGlTest
{
protected:
    void SetUp() override
    {
        DorneGlTest::SetUp();
        if (HasFatalFailure())
            return;
        ftSetDebugLevel(0);
        if (FNT_LIBRARY_STRUCT.initialised)
            ftLibraryFree();
        ASSERT_EQ(ftLibraryInit(), 1);
        const struct
        {
            const char* family;
            int width;
            const char* weight;
        } faces[] = {{"FamB", 110, "Bold"},   {"FamB", 140, "Bold"},   {"FamB", 170, "Bold"},
                     {"FamS", 100, "Medium"}, {"FamS", 140, "Medium"}, {"FamT", 110, "Medium"},
                     {"FamT", 130, "Medium"}};
        int n = 0;
        for (const auto& f : faces)
            sartotest::writeBdf(mFolder.file("f" + std::to_string(n++) + ".ttf"), f.family, f.width, f.weight);
        ASSERT_EQ(ftLibraryAddPath(mFolder.path().c_str()), 0);
        ASSERT_EQ(ftLibraryParseFonts(), 0);
        pixelProjection();
        glDisable(GL_BLEND);
        glDisable(GL_LINE_STIPPLE);
        glDisable(GL_SCISSOR_TEST);
        clear(0, 0, 0, 1);
    }
    void TearDown() override { ftLibraryFree(); }

    // One frame of the list in edit mode (running 0) or run mode.
    static void draw(ELEMENT_STRUCT* list, int running)
    {
        DRAW_PARA_STRUCT para = {1.0f, 0, 0, 0};
        drawUserElements(list, nullptr, running, 0, 0, &para, 0);
    }

    static bool lit(const std::array<uint8_t, 4>& p) { return p[0] + p[1] + p[2] > 96; }

    // Whether a pixel within one of (x, y) has the colour (each channel
    // within 8).
    static bool colourNear(int x, int y, int r, int g, int b)
    {
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const auto p = pixel(x + dx, y + dy);
                if (std::abs(p[0] - r) <= 8 && std::abs(p[1] - g) <= 8 && std::abs(p[2] - b) <= 8)
                    return true;
            }
        }
        return false;
    }

    // The lit pixels of the box (x0, y0)-(x1, y1), both ends included.
    static int litIn(int x0, int y0, int x1, int y1)
    {
        const std::vector<uint8_t> p = readPixels(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
        int n = 0;
        for (size_t i = 0; i < p.size(); i += 4)
            n += p[i] + p[i + 1] + p[i + 2] > 96;
        return n;
    }

    // The first and last lit column of the rows y0..y1; -1, -1 when none.
    static std::pair<int, int> litColumns(int y0, int y1)
    {
        int first = -1, last = -1;
        for (int x = 0; x < kWidth; ++x) {
            if (litIn(x, y0, x, y1) > 0) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return {first, last};
    }

    // Font objects of the family, style and size that handles hold.
    static int fontObjects(const char* family, int style, int size)
    {
        int n = 0;
        for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.fonts.child; node != nullptr; node = node->next) {
            const auto* f = static_cast<const FNT_FONT*>(node->data);
            n += std::string(f->family) == family && f->style == style && f->size == size && f->refCount > 0;
        }
        return n;
    }

    sartotest::TempFolder mFolder;
};

// Font GL tests of readers that own what they read: the engine's log at
// errors only, and no memory left unreachable at the end.
class FontLeakTest : public FontGlTest
{
protected:
    void SetUp() override
    {
        FontGlTest::SetUp();
        setLogLevel(1);
    }
    void TearDown() override
    {
        FontGlTest::TearDown();
        expectNoLeaks();
    }
};

#endif
