// Four threads save, load and free views with graphs, texts and textures at
// once, each with a GL context of its own so that the fonts and textures
// are really made: the view file's readers and writers, refused loads that
// free what they had read, and frees of loaded lists share the font
// library, the texture registry and the element counters through the
// library's lock. Runs under ThreadSanitizer.
#include "threadSupport.h"
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::vector<char> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The view's text holds a font and its image a registered texture.
bool holdsFontAndTexture(const ELEMENT_STRUCT* list)
{
    bool font = false, texture = false;
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next) {
        if (e->kind == VD_TEXT)
            font = static_cast<const TEXT_STRUCT*>(e->data)->font != nullptr;
        if (e->kind == VD_TEXTURE)
            texture = static_cast<const IMAGE_STRUCT*>(e->data)->texture > 0;
    }
    return font && texture;
}

TEST(ViewFileThreads, FourThreadsSaveLoadRefuseAndFreeViews)
{
    const int kThreads = 4;
    const int kRounds = 8;
    setLogLevel(0);
    ASSERT_TRUE(threadtest::setUpFonts());
    std::vector<int> failures(kThreads, 0);
    const std::string stem = "/tmp/dorneTsanView" + std::to_string(getpid()) + "-";
    // Built here: the polygons' tessellation uses the GL layer's state of
    // the process, which only loads and draws guard.
    std::vector<ELEMENT_STRUCT*> views(kThreads);
    for (ELEMENT_STRUCT*& view : views)
        view = viewfile::everyKindView();
    const int elements = threadtest::countElements(views[0]);

    const int without = threadtest::onThreads(kThreads, [&](int t) {
        const std::string a = stem + std::to_string(t) + "a.v", b = stem + std::to_string(t) + "b.v";
        const std::string cut = stem + std::to_string(t) + "c.v";
        ELEMENT_STRUCT* view = views[size_t(t)];
        CONFIG_STRUCT config{};
        for (int round = 0; round < kRounds; ++round) {
            ELEMENT_STRUCT* loaded = nullptr;
            DD_DATA_TYPE_STRUCT* sources = nullptr;
            if (saveFile(a.c_str(), view, nullptr, &config) != 0) {
                ++failures[size_t(t)];
                continue;
            }
            // Half the threads refuse a file cut in its last record while
            // the other half load, in turns.
            if ((round + t) % 2 == 0) {
                std::vector<char> bytes = bytesOf(a);
                bytes.resize(bytes.size() - 2);
                std::ofstream(cut, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
                if (loadFile(cut.c_str(), &loaded, &sources, &config) != -1 || loaded != nullptr || sources != nullptr)
                    ++failures[size_t(t)];
            } else if (loadFile(a.c_str(), &loaded, &sources, &config) != 0 ||
                       threadtest::countElements(loaded) != elements || !holdsFontAndTexture(loaded) ||
                       saveFile(b.c_str(), loaded, sources, &config) != 0 || bytesOf(a) != bytesOf(b)) {
                ++failures[size_t(t)];
            }
            // Freed while the other threads load.
            elementDeleteAll(&loaded);
            while (sources != nullptr)
                delDataType(&sources, sources, 0);
        }
        std::remove(a.c_str());
        std::remove(b.c_str());
        std::remove(cut.c_str());
    });
    EXPECT_EQ(without, 0) << "threads without a GL context";
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[size_t(t)], 0) << "thread " << t;
        elementDeleteAll(&views[size_t(t)]);
    }
    setLogLevel(1);
}

} // namespace
