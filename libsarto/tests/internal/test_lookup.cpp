// Which catalogue node serves a request for family, style and size, and the
// built-in table's bound.
#include "../fontFixtures.h"
#include "sartoInternal.h"

#include <string>

using namespace sartotest;

namespace {

class Lookup : public testing::Test
{
protected:
    void SetUp() override
    {
        ftSetDebugLevel(3);
        captureStdout([] { ASSERT_EQ(ftLibraryInit(), 1); });
    }
    void TearDown() override { ftLibraryFree(); }

    // The node that serves the request and the messages said on the way.
    FNT_DATA_STRUCT* get(const char* family, int style, int size, std::string* messages = nullptr)
    {
        FNT_DATA_STRUCT* node = nullptr;
        const std::string out = captureStdout([&] { node = ftiGetFont(&FNT_LIBRARY_STRUCT, family, style, size); });
        if (messages != nullptr)
            *messages = out;
        else
            EXPECT_EQ(out, "") << family;
        return node;
    }
};

const char* familyOf(const FNT_DATA_STRUCT* node)
{
    while (node != nullptr && node->type != FNT_TYPE_FAMILY)
        node = node->parent;
    return node != nullptr ? ftiFamily(node)->name : "";
}

TEST_F(Lookup, NothingServesAnEmptyCatalogue)
{
    std::string messages;
    EXPECT_EQ(get("Arial", 1, 12, &messages), nullptr);
    EXPECT_EQ(get("Nope", 1, 12, &messages), nullptr);
    EXPECT_EQ(messages, "") << "no replacement without Arial";
}

TEST_F(Lookup, FamilyAndStyleFallBackWithWarnings)
{
    TempFolder folder;
    writeBdf(folder.file("a.ttf"), "FamT", 140);
    writeBdf(folder.file("b.ttf"), "FamT", 100);
    writeBdf(folder.file("c.ttf"), "FamT", 120, "Bold");
    captureStdout([&] {
        ftLibraryAddPath(folder.path().c_str());
        ftLibraryParseFonts();
    });

    // A scalable family yields its style node.
    const FNT_DATA_STRUCT* arialBold = get("Arial", 2, 12);
    ASSERT_NE(arialBold, nullptr);
    EXPECT_EQ(ftiSource(arialBold)->style, 2);
    EXPECT_STREQ(familyOf(arialBold), "Arial");

    std::string messages;
    EXPECT_EQ(get("Nope", 2, 12, &messages), arialBold);
    EXPECT_EQ(messages, warning("Warning: font <Nope> replaced by <Arial>\n"));

    // FamT has styles 1 (sizes 14, 10 in listing order) and 2; order of
    // listing is the system's, so find which came first.
    const FNT_DATA_STRUCT* first = ftiFindFamily(&FNT_LIBRARY_STRUCT, "FamT [fixed]")->child;
    const int firstStyle = ftiSource(first)->style;
    const FNT_DATA_STRUCT* got = get("FamT [fixed]", 8, 12, &messages);
    ASSERT_NE(got, nullptr);
    EXPECT_EQ(got->parent, first);
    EXPECT_EQ(messages, warning("Warning: style 8 replaced by " + std::to_string(firstStyle) + "\n"));
}

TEST_F(Lookup, NearestStrikeFirstOfEqualDistances)
{
    TempFolder one, two, three;
    // Catalogue order 10, 14, 20 (one folder each, parsed in this order).
    writeBdf(one.file("a.ttf"), "FamN", 100);
    writeBdf(two.file("a.ttf"), "FamN", 140);
    writeBdf(three.file("a.ttf"), "FamN", 200);
    captureStdout([&] {
        for (const TempFolder* f : {&one, &two, &three})
            ftLibraryAddPath(f->path().c_str());
        ftLibraryParseFonts();
    });
    const struct
    {
        int requested;
        int served; // 0: nothing
    } cases[] = {
        {12, 10}, {13, 14}, {14, 14}, {17, 14}, {18, 20}, {1, 10}, {-5, 10}, {-989, 10}, {-990, 0}, {1019, 20}, {1020, 0},
        {-2147483647 - 1, 0}, {2147483647, 0},
    };
    for (const auto& c : cases) {
        const FNT_DATA_STRUCT* node = get("FamN [fixed]", 1, c.requested);
        if (c.served == 0) {
            EXPECT_EQ(node, nullptr) << c.requested;
        } else {
            ASSERT_NE(node, nullptr) << c.requested;
            EXPECT_EQ(ftiSource(node)->size, c.served) << c.requested;
        }
    }
}

TEST(BuiltinTable, CountStopsAt198)
{
    FNT_STRUCT state{};
    static const unsigned char data[250] = {};
    for (int i = 0; i < 250; ++i)
        ftiAddBuildin(&state, data + i, i + 1);
    EXPECT_EQ(state.buildinCount, 198);
    EXPECT_EQ(state.buildin[197].size, 198);
    EXPECT_EQ(state.buildin[198].size, 250) << "later items overwrite the entry past the count";
    EXPECT_EQ(state.buildin[199].size, 0);
}

} // namespace
