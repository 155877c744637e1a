// Four threads save and load XML views at once, each with a GL context of
// its own, so that the text's font and the image's texture are really made
// and freed: each save and each load keeps its ids, maps and offsets to
// itself, refused loads free what they had read while the other threads
// load, and elements are made, loaded lists saved again and freed while the
// others load.
// Runs under ThreadSanitizer.
#include "threadSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
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

int countVariables(const DD_DATA_TYPE_STRUCT* source)
{
    int count = 0;
    for (const DD_VAR_STRUCT* v = source != nullptr ? source->variables : nullptr; v != nullptr; v = v->next)
        ++count;
    return count;
}

// A text in the defined font and an image of the defined bitmap, as read.
bool holdsFontAndTexture(const ELEMENT_STRUCT* list)
{
    if (threadtest::countElements(list) != 2 || list->kind != VD_TEXT || list->next->kind != VD_TEXTURE)
        return false;
    const auto* text = static_cast<const TEXT_STRUCT*>(list->data);
    const auto* image = static_cast<const IMAGE_STRUCT*>(list->next->data);
    return text->font != nullptr && std::strcmp(text->family, "Arial") == 0 && image->texture > 0 &&
           image->pixelWidth == 2 && image->pixelHeight == 3;
}

TEST(ViewXmlThreads, FourThreadsSaveLoadRefuseAndFreeAtOnce)
{
    const int kThreads = 4;
    const int kRounds = 10;
    setLogLevel(0);
    ASSERT_TRUE(threadtest::setUpFonts());
    const std::string stem = "/tmp/dorneTsanXml" + std::to_string(getpid()) + "-";
    // A definition section of each kind and the elements that use its font
    // and bitmap, read by every load; the refused file adds a data section
    // the reader refuses after it has read them.
    const std::string definitions =
        "<definition><stroke id=\"1\" factor=\"2\" data=\"0x1234\" />"
        "<pattern id=\"2\" data=\"AAMGCQwPEhUYGx4hJCcqLTAzNjk8P0JFSEtOUVRXWl1gY2ZpbG9ydXh7foGEh4qNkJOWmZyfoqWoq66x\" />"
        "<bitmap id=\"3\" width=\"2\" height=\"3\" compression=\"zlib\" "
        "data=\"eJxj4BKR0zCycQuISsmraOqZtmDVln0nLt15BgBZ8ArJ\" />"
        "<font id=\"4\" type=\"truetype\" family=\"Arial\" size=\"10\" bold=\"true\" /></definition>"
        "<geometry><text x=\"100\" y=\"40\" text=\"Hi\" font=\"4\" />"
        "<rect x=\"30\" y=\"20\" width=\"40\" height=\"20\" bitmap=\"3\" /></geometry>";
    const std::string refusal = "<data><datasource nr-data-para=\"1025\" /></data>";
    std::vector<int> failures(kThreads, 0);
    const int without = threadtest::onThreads(kThreads, [&](int t) {
        DD_DATA_TYPE_STRUCT* sources = sourcesOf(t + 1, 50 + t);
        CONFIG_STRUCT config{};
        config.width = float(100 * (t + 1));
        const std::string path = stem + std::to_string(t) + ".xml";
        const std::string good = stem + std::to_string(t) + "g.xml";
        const std::string refused = stem + std::to_string(t) + "r.xml";
        const std::string resaved = stem + std::to_string(t) + "s.xml";
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
            const std::string body = text.substr(0, text.rfind("</Nalvo2D>")) + definitions;
            std::ofstream(good, std::ios::trunc) << body << "</Nalvo2D>\n";
            std::ofstream(refused, std::ios::trunc) << body << refusal << "</Nalvo2D>\n";

            // Half the threads refuse while the other half load, in turns.
            ELEMENT_STRUCT* elements = nullptr;
            DD_DATA_TYPE_STRUCT* loaded = nullptr;
            CONFIG_STRUCT read{};
            if ((round + t) % 2 == 0) {
                if (loadFileXml(refused.c_str(), &elements, &loaded, &read) != -1 || elements != nullptr ||
                    loaded != nullptr || read.width != 0)
                    ++failures[size_t(t)];
            } else {
                // Saved again (the bitmap's pixels digested) while the
                // others free theirs.
                if (loadFileXml(good.c_str(), &elements, &loaded, &read) != 0 || loaded == nullptr ||
                    loaded->type != t + 1 || read.width != config.width || !holdsFontAndTexture(elements) ||
                    countVariables(loaded) != 50 + t ||
                    saveFileXml(resaved.c_str(), elements, loaded, &read) != 0 ||
                    textOf(resaved).find("<bitmap ") == std::string::npos)
                    ++failures[size_t(t)];
            }
            // Two made with the same default name, the second named anew
            // against the list (which raises the name counter), and all
            // freed while the other threads load.
            ELEMENT_STRUCT* made = elementCreate(VD_TEXT);
            ELEMENT_STRUCT* other = elementCreate(VD_TEXT);
            elementAppend(made, &elements);
            if (elementNewName(other, elements) != 0 || std::strcmp(other->name, made->name) == 0)
                ++failures[size_t(t)];
            elementAppend(other, &elements);
            elementDeleteAll(&elements);
            freeAll(&loaded);
        }
        std::remove(path.c_str());
        std::remove(good.c_str());
        std::remove(refused.c_str());
        std::remove(resaved.c_str());
        freeAll(&sources);
    });
    EXPECT_EQ(without, 0) << "threads without a GL context";
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[size_t(t)], 0) << "thread " << t;
    setLogLevel(1);
}

} // namespace
