// The instrument page's view files as the build generates them into the
// bundle: they load, come out byte for byte the same on every run, hold the
// page's variables in Internal Data sources, use catalogued fonts only and
// keep to their side of the glass; through the class facade the frame's
// keys, knob and card slot write their variables, and the instrument takes
// the page's values, shows its pages and dims with the colour factor
// (drawn in the offscreen context).
#include "InstrumentViews.h"
#include "NalvoView.h"
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneView.h"
#include "orloGlTest.h"
#include "sartoLibrary.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

using Nalvo2D::NalvoView;

namespace {

const std::string Resources = ORLO_BUNDLE_RES;

std::vector<char> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder, removed with its contents.
struct TempFolder
{
    TempFolder()
    {
        char pattern[] = "/tmp/orloViewsXXXXXX";
        const char* made = mkdtemp(pattern);
        path = made != nullptr ? made : "";
    }
    ~TempFolder()
    {
        std::error_code ignored;
        if (!path.empty())
            std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// What loadFile read from a view file; freed at the end.
struct Loaded
{
    explicit Loaded(const std::string& path) { status = loadFile(path.c_str(), &elements, &sources, &config); }
    ~Loaded()
    {
        elementDeleteAll(&elements);
        while (sources != nullptr)
            delDataType(&sources, sources, 1);
    }
    Loaded(const Loaded&) = delete;
    Loaded& operator=(const Loaded&) = delete;

    int status = -1;
    ELEMENT_STRUCT* elements = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT config{};
};

void forEach(ELEMENT_STRUCT* list, const std::function<void(const ELEMENT_STRUCT*)>& visit)
{
    for (ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        forEach(e->children, visit);
        visit(e);
    }
}

struct ViewFile
{
    const char* name;
    std::map<std::string, int> variables; // name to value type
    bool onGlass;                         // true: inside the glass; false: around it
};

const std::vector<ViewFile>& viewFiles()
{
    static const std::vector<ViewFile> files = {
        {"instruments.v",
         {{"altitude", DD_DOUBLE},
          {"coolant", DD_DOUBLE},
          {"egt1", DD_DOUBLE},
          {"egt2", DD_DOUBLE},
          {"fuelFlow", DD_DOUBLE},
          {"fuelLevel", DD_DOUBLE},
          {"groundSpeed", DD_DOUBLE},
          {"oilPressure", DD_DOUBLE},
          {"oilTemperature", DD_DOUBLE},
          {"rpm", DD_DOUBLE},
          {"PAGE", DD_INT},
          {"CONFIG_SELECT", DD_INT},
          {"UNIT_SELECT", DD_INT},
          {"CARD", DD_INT}},
         true},
        {"frame.v",
         {{"LSK1", DD_INT},
          {"LSK2", DD_INT},
          {"LSK3", DD_INT},
          {"LSK_POTI", DD_INT},
          {"CARD", DD_INT},
          {"POTI", DD_DOUBLE}},
         false},
    };
    return files;
}

// The glass: x 80..720, y 20..460 of the 800 x 480 view.
constexpr float GlassLeft = 80, GlassRight = 720, GlassBottom = 20, GlassTop = 460;

// The bundle's files in the offscreen context: fonts are made there, and
// elements take their run-time pick positions when they are drawn.
class InstrumentViewsGl : public orlo_gl::GlTest
{
protected:
    void SetUp() override
    {
        orlo_gl::GlTest::SetUp();
        if (HasFatalFailure())
            return;
        // The whole 800 x 480 view on the buffer, y up.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 800, 0, 480, -7000, 0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_BLEND);
    }

    static void start(NalvoView& view, const char* file)
    {
        ASSERT_TRUE(view.load(Resources + "/" + file)) << file;
        ASSERT_TRUE(view.startView(false));
        view.setBackgroundMode(false);
    }

    // The buffer after one frame of the view on magenta.
    static std::vector<uint8_t> frame(NalvoView& view)
    {
        clear(1, 0, 1, 1);
        EXPECT_TRUE(view.draw(true));
        return readPixels(0, 0, kWidth, kHeight);
    }

    // The buffer pixel under a view point.
    static std::array<uint8_t, 4> at(float x, float y)
    {
        return pixel(int(x * kWidth / 800), int(y * kHeight / 480));
    }

    static long longOf(NalvoView& view, const char* name)
    {
        long value = -99;
        EXPECT_TRUE(view.getVar(name, value)) << name;
        return value;
    }
    static double doubleOf(NalvoView& view, const char* name)
    {
        double value = -99;
        EXPECT_TRUE(view.getVar(name, value)) << name;
        return value;
    }
};

TEST_F(InstrumentViewsGl, FilesLoadRepeatAndHoldTheirVariablesFontsAndPlaces)
{
    // The font library (in the current context) measures the texts as the
    // page will, so their boxes count, and tells which families the
    // catalogue holds.
    ftSetDebugLevel(1);
    ASSERT_GE(ftLibraryInit(), 0);
    ASSERT_EQ(ftLibraryParseFonts(), 0);

    // Two runs into a folder of their own write what the build wrote.
    TempFolder folder;
    ASSERT_FALSE(folder.path.empty());
    for (int run = 1; run <= 2; ++run) {
        std::string error;
        ASSERT_TRUE(KAVO::InstrumentViews::writeAll(folder.path, error)) << error;
        for (const ViewFile& file : viewFiles()) {
            const std::vector<char> bundled = bytesOf(Resources + "/" + file.name);
            ASSERT_GT(bundled.size(), 1000u) << file.name;
            EXPECT_TRUE(bytesOf(folder.path + "/" + file.name) == bundled) << file.name << ", run " << run;
        }
    }
    std::string error;
    EXPECT_FALSE(KAVO::InstrumentViews::writeAll(folder.path + "/missing", error));
    EXPECT_NE(error.find("missing/instruments.v"), std::string::npos) << error;

    for (const ViewFile& file : viewFiles()) {
        SCOPED_TRACE(file.name);
        Loaded view(Resources + "/" + file.name);
        ASSERT_EQ(view.status, 0);
        EXPECT_EQ(view.config.x, 0.0f);
        EXPECT_EQ(view.config.y, 0.0f);
        EXPECT_EQ(view.config.width, 800.0f);
        EXPECT_EQ(view.config.height, 480.0f);

        std::map<std::string, int> variables;
        for (const DD_DATA_TYPE_STRUCT* s = view.sources; s != nullptr; s = s->next)
            for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
                EXPECT_EQ(s->type, 5) << v->name << ": every variable in an Internal Data source";
                EXPECT_TRUE(variables.emplace(v->name, v->type).second) << v->name << " twice";
            }
        EXPECT_EQ(variables, file.variables);

        int elements = 0;
        forEach(view.elements, [&](const ELEMENT_STRUCT* e) {
            ++elements;
            const char* family = e->kind == VD_TEXT    ? static_cast<const TEXT_STRUCT*>(e->data)->family
                                 : e->kind == VD_GRAPH ? static_cast<const GRAPH_STRUCT*>(e->data)->family
                                                       : nullptr;
            if (family != nullptr) {
                const int style = e->kind == VD_TEXT ? static_cast<const TEXT_STRUCT*>(e->data)->style
                                                     : static_cast<const GRAPH_STRUCT*>(e->data)->style;
                const std::set<std::string> catalogued = {"Arial", "Courier New", "Courier [fixed]",
                                                          "Helvetica [fixed]"};
                EXPECT_EQ(catalogued.count(family), 1u) << e->name << ": " << family;
                EXPECT_NE(ftFamilyGetStyles(family) & style, 0) << e->name << ": " << family << " style " << style;
            }
            if (file.onGlass) {
                EXPECT_TRUE(e->minX >= GlassLeft && e->maxX <= GlassRight && e->minY >= GlassBottom &&
                            e->maxY <= GlassTop)
                    << e->name << " reaches beyond the glass: " << e->minX << ".." << e->maxX << " x " << e->minY
                    << ".." << e->maxY;
            } else {
                EXPECT_FALSE(e->maxX > GlassLeft && e->minX < GlassRight && e->maxY > GlassBottom &&
                             e->minY < GlassTop)
                    << e->name << " covers the glass: " << e->minX << ".." << e->maxX << " x " << e->minY << ".."
                    << e->maxY;
            }
        });
        EXPECT_GT(elements, file.onGlass ? 300 : 15);
    }
}

TEST_F(InstrumentViewsGl, FrameKeysKnobAndCardSlotWriteTheirVariables)
{
    NalvoView frameView;
    start(frameView, "frame.v");
    if (HasFatalFailure())
        return;
    frame(frameView);
    using Nalvo2D::EVENT_MOVE;
    using Nalvo2D::EVENT_PRESS;
    using Nalvo2D::EVENT_RELEASE;
    using Nalvo2D::MOUSE_LEFT;
    const char* const keyVars[] = {"LSK1", "LSK2", "LSK3", "LSK_POTI"};

    // Each key: picked at its centre, 1 at once on the press, 0 on the
    // release; the others stay 0.
    const struct
    {
        const char* name;
        float x, y;
    } keys[] = {{"LSK1", 760, 380}, {"LSK2", 760, 240}, {"LSK3", 760, 100}, {"LSK_POTI", 40, 100}};
    for (const auto& key : keys) {
        SCOPED_TRACE(key.name);
        std::string picked;
        EXPECT_TRUE(frameView.getObject(key.x, key.y, picked));
        EXPECT_EQ(picked, std::string(key.name) == "LSK_POTI" ? "KNOB_PUSH" : key.name);
        frameView.setEvent(MOUSE_LEFT, EVENT_PRESS, key.x, key.y);
        for (const char* var : keyVars)
            EXPECT_EQ(longOf(frameView, var), std::string(var) == key.name ? 1 : 0) << var;
        // A drag from a key or the knob's cap leaves the knob alone.
        frameView.setEvent(MOUSE_LEFT, EVENT_MOVE, key.x, key.y - 68);
        EXPECT_EQ(doubleOf(frameView, "POTI"), 0.0);
        frameView.setEvent(MOUSE_LEFT, EVENT_RELEASE, key.x, key.y - 68);
        for (const char* var : keyVars)
            EXPECT_EQ(longOf(frameView, var), 0) << var;
    }
    // The bezel between the keys takes no press.
    frameView.setEvent(MOUSE_LEFT, EVENT_PRESS, 760, 310);
    frameView.setEvent(MOUSE_LEFT, EVENT_RELEASE, 760, 310);
    for (const char* var : keyVars)
        EXPECT_EQ(longOf(frameView, var), 0) << var;

    // The knob's ring (outside the cap): down by the knob's height lowers
    // "POTI" by 500, up raises it; the cap is not pressed.
    std::string picked;
    EXPECT_TRUE(frameView.getObject(40, 124, picked));
    EXPECT_EQ(picked, "KNOB");
    frameView.setEvent(MOUSE_LEFT, EVENT_PRESS, 40, 124);
    EXPECT_EQ(doubleOf(frameView, "POTI"), 0.0);
    frameView.setEvent(MOUSE_LEFT, EVENT_MOVE, 40, 124 - 68);
    const double lowered = doubleOf(frameView, "POTI");
    EXPECT_LE(lowered, -450.0);
    EXPECT_GE(lowered, -550.0);
    frameView.setEvent(MOUSE_LEFT, EVENT_MOVE, 40, 124 + 68);
    const double raised = doubleOf(frameView, "POTI");
    EXPECT_GE(raised - lowered, 900.0);
    frameView.setEvent(MOUSE_LEFT, EVENT_RELEASE, 40, 124 + 68);
    EXPECT_EQ(doubleOf(frameView, "POTI"), raised);
    EXPECT_EQ(longOf(frameView, "LSK_POTI"), 0);
    // A second drag goes on from where the first ended.
    frameView.setEvent(MOUSE_LEFT, EVENT_PRESS, 40, 120);
    frameView.setEvent(MOUSE_LEFT, EVENT_MOVE, 40, 120 - 34);
    EXPECT_NEAR(doubleOf(frameView, "POTI"), raised - 250, 30);
    frameView.setEvent(MOUSE_LEFT, EVENT_RELEASE, 40, 120 - 34);

    // The card slot: each press puts the card in or takes it out.
    EXPECT_TRUE(frameView.getObject(40, 380, picked));
    EXPECT_EQ(picked, "CARD_SLOT");
    const auto empty = frame(frameView);
    for (long expected : {1L, 0L, 1L}) {
        frameView.setEvent(MOUSE_LEFT, EVENT_PRESS, 40, 380);
        EXPECT_EQ(longOf(frameView, "CARD"), expected);
        frameView.setEvent(MOUSE_LEFT, EVENT_RELEASE, 40, 380);
        EXPECT_EQ(longOf(frameView, "CARD"), expected);
        EXPECT_EQ(frame(frameView) != empty, expected == 1) << "the card shows in the slot while it is in";
    }
    for (const char* var : keyVars)
        EXPECT_EQ(longOf(frameView, var), 0) << var;
}

TEST_F(InstrumentViewsGl, InstrumentTakesThePageValuesShowsItsPagesAndDims)
{
    NalvoView instrument;
    start(instrument, "instruments.v");
    if (HasFatalFailure())
        return;

    // What the page writes reads back.
    for (const char* name : {"PAGE", "CONFIG_SELECT", "UNIT_SELECT", "CARD"}) {
        EXPECT_TRUE(instrument.setVar(name, 1L)) << name;
        EXPECT_EQ(longOf(instrument, name), 1) << name;
        EXPECT_TRUE(instrument.setVar(name, 0L)) << name;
    }
    double value = 1234.5;
    const char* const values[] = {"altitude",  "coolant",     "egt1",        "egt2",           "fuelFlow",
                                  "fuelLevel", "groundSpeed", "oilPressure", "oilTemperature", "rpm"};
    for (const char* name : values) {
        EXPECT_TRUE(instrument.setVar(name, value)) << name;
        EXPECT_EQ(doubleOf(instrument, name), value) << name;
        value += 0.25;
    }

    // Every page looks different; a card lights the indicator; the rpm
    // needle moves.
    std::vector<std::vector<uint8_t>> pages;
    for (long page = 0; page <= 14; ++page) {
        instrument.setVar("PAGE", page);
        pages.push_back(frame(instrument));
        for (size_t earlier = 0; earlier < pages.size() - 1; ++earlier)
            EXPECT_TRUE(pages.back() != pages[earlier]) << "page " << page << " looks like page " << earlier;
    }
    instrument.setVar("PAGE", 0L);
    instrument.setVar("CARD", 1L);
    EXPECT_TRUE(frame(instrument) != pages[0]) << "the card indicator";
    instrument.setVar("CARD", 0L);
    instrument.setVar("PAGE", 1L);
    instrument.setVar("rpm", 0.0);
    const auto idle = frame(instrument);
    instrument.setVar("rpm", 5000.0);
    EXPECT_TRUE(frame(instrument) != idle) << "the needle";

    // Nothing outside the glass; the glass dims with the colour factor.
    frame(instrument);
    const auto outside = at(40, 240);
    EXPECT_EQ(outside[0], 255);
    EXPECT_EQ(outside[1], 0);
    EXPECT_EQ(outside[2], 255);
    const auto glass = at(90, 30);
    EXPECT_LT(glass[0] + glass[1] + glass[2], 3 * 60) << "a dark glass";
    instrument.setColor(0.1f, 0.1f, 0.1f, 1.0f);
    frame(instrument);
    const auto dimmed = at(90, 30);
    EXPECT_LT(dimmed[2], glass[2]);
    EXPECT_LE(dimmed[0] + dimmed[1] + dimmed[2], (glass[0] + glass[1] + glass[2]) / 3);
}

} // namespace
