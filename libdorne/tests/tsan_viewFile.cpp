// Four threads save and load views with graphs, texts and textures at once:
// the view file's readers and writers share the font library, the texture
// registry and the element counters through the library's lock. Runs under
// ThreadSanitizer.
#include "viewFileSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::vector<char> bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(ViewFileThreads, FourThreadsLoadAndSaveViews)
{
    const int kThreads = 4;
    const int kRounds = 8;
    setLogLevel(0);
    // Views are built and freed here: only the readers and writers run at
    // once (building and freeing take no lock).
    std::vector<ELEMENT_STRUCT*> views(kThreads);
    for (ELEMENT_STRUCT*& view : views)
        view = viewfile::everyKindView();
    std::vector<std::vector<ELEMENT_STRUCT*>> loaded(kThreads, std::vector<ELEMENT_STRUCT*>(kRounds, nullptr));
    std::vector<int> failures(kThreads, 0);
    const std::string stem = "/tmp/dorneTsanView" + std::to_string(getpid()) + "-";

    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            const std::string a = stem + std::to_string(t) + "a.v", b = stem + std::to_string(t) + "b.v";
            CONFIG_STRUCT config{};
            for (int round = 0; round < kRounds; ++round) {
                DD_DATA_TYPE_STRUCT* sources = nullptr;
                if (saveFile(a.c_str(), views[size_t(t)], nullptr, &config) != 0 ||
                    loadFile(a.c_str(), &loaded[size_t(t)][size_t(round)], &sources, &config) != 0 ||
                    saveFile(b.c_str(), loaded[size_t(t)][size_t(round)], sources, &config) != 0 ||
                    bytesOf(a) != bytesOf(b))
                    ++failures[size_t(t)];
            }
            std::remove(a.c_str());
            std::remove(b.c_str());
        });
    for (std::thread& thread : threads)
        thread.join();

    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(failures[size_t(t)], 0) << "thread " << t;
        for (ELEMENT_STRUCT*& view : loaded[size_t(t)]) {
            EXPECT_NE(view, nullptr);
            elementDeleteAll(&view);
        }
        elementDeleteAll(&views[size_t(t)]);
    }
    setLogLevel(1);
}

} // namespace
