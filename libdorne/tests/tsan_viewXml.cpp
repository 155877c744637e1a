// Four threads save and load XML views at once: each save and each load
// keeps its ids, maps and offsets to itself. Runs under ThreadSanitizer.
#include "dorneFiles.h"
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string textOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A source of type `type` with n variables of one parameter each.
DD_DATA_TYPE_STRUCT* sourcesOf(int type, int n)
{
    DD_DATA_TYPE_STRUCT* head = createDataType(10);
    head->type = type;
    head->dataOptionCount = 1;
    head->varOptionCount = 1;
    std::snprintf(head->para[0].text, 64, "source %d", type);
    for (int v = 0; v < n; ++v) {
        DD_VAR_STRUCT* var = createVariable(10);
        var->paraCount = 1;
        std::snprintf(var->name, sizeof var->name, "v%d_%d", type, v);
        std::snprintf(var->para[0].text, 64, "p%d", v);
        appendVariable(&head->variables, var);
    }
    return head;
}

void freeAll(DD_DATA_TYPE_STRUCT** head)
{
    while (*head != nullptr)
        delDataType(head, *head, 0);
}

TEST(ViewXmlThreads, FourThreadsSaveAndLoadAtOnce)
{
    const int kThreads = 4;
    const int kRounds = 10;
    setLogLevel(0);
    const std::string stem = "/tmp/dorneTsanXml" + std::to_string(getpid()) + "-";
    // A definition section of each kind beside the data, read by every load.
    const std::string definitions =
        "<definition><stroke id=\"1\" factor=\"2\" data=\"0x1234\" />"
        "<pattern id=\"2\" data=\"AAMGCQwPEhUYGx4hJCcqLTAzNjk8P0JFSEtOUVRXWl1gY2ZpbG9ydXh7foGEh4qNkJOWmZyfoqWoq66x\" />"
        "<bitmap id=\"3\" width=\"2\" height=\"3\" compression=\"zlib\" "
        "data=\"eJxj4BKR0zCycQuISsmraOqZtmDVln0nLt15BgBZ8ArJ\" />"
        "<font id=\"4\" type=\"truetype\" family=\"Arial\" size=\"10\" bold=\"true\" /></definition>";
    std::vector<int> failures(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] {
            DD_DATA_TYPE_STRUCT* sources = sourcesOf(t + 1, 50 + t);
            CONFIG_STRUCT config{};
            config.width = float(100 * (t + 1));
            const std::string path = stem + std::to_string(t) + ".xml";
            const std::string withDefinitions = stem + std::to_string(t) + "d.xml";
            std::string first;
            for (int round = 0; round < kRounds; ++round) {
                if (saveFileXml(path.c_str(), nullptr, sources, &config) != 0) {
                    ++failures[size_t(t)];
                    continue;
                }
                const std::string text = textOf(path);
                if (round == 0)
                    first = text;
                else if (text != first)
                    ++failures[size_t(t)];
                {
                    std::ofstream out(withDefinitions, std::ios::trunc);
                    out << text.substr(0, text.rfind("</Nalvo2D>")) << definitions << "</Nalvo2D>\n";
                }
                ELEMENT_STRUCT* elements = nullptr;
                DD_DATA_TYPE_STRUCT* loaded = nullptr;
                CONFIG_STRUCT read{};
                if (loadFileXml(withDefinitions.c_str(), &elements, &loaded, &read) != 0 || loaded == nullptr ||
                    loaded->type != t + 1 || read.width != config.width || elements != nullptr)
                    ++failures[size_t(t)];
                int count = 0;
                for (DD_VAR_STRUCT* v = loaded != nullptr ? loaded->variables : nullptr; v != nullptr; v = v->next)
                    ++count;
                if (count != 50 + t)
                    ++failures[size_t(t)];
                freeAll(&loaded);
            }
            std::remove(path.c_str());
            std::remove(withDefinitions.c_str());
            freeAll(&sources);
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[size_t(t)], 0) << "thread " << t;
    setLogLevel(1);
}

} // namespace
