// The catalogue of families, styles and sizes: built-in fonts, font folders,
// the rules that keep the first source, and the queries.
#include "fontFixtures.h"
#include "sartoLibrary.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace sartotest;

namespace {

// Fonts copied under their item names by the build.
const std::string kFonts = SARTO_TEST_FONTS;

const FNT_DATA_STRUCT* findFamily(const std::string& name)
{
    for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.families.child; node; node = node->next)
        if (name == static_cast<const FNT_FAMILY*>(node->data)->name)
            return node;
    return nullptr;
}

const FNT_FAMILY* family(const std::string& name)
{
    const FNT_DATA_STRUCT* node = findFamily(name);
    return node ? static_cast<const FNT_FAMILY*>(node->data) : nullptr;
}

// The source of a family's style (size 0) or of one of its strikes.
const FNT_SOURCE* source(const std::string& name, int style, int size = 0)
{
    const FNT_DATA_STRUCT* node = findFamily(name);
    for (node = node ? node->child : nullptr; node; node = node->next) {
        if (static_cast<const FNT_SOURCE*>(node->data)->style != style)
            continue;
        if (size == 0)
            return static_cast<const FNT_SOURCE*>(node->data);
        for (const FNT_DATA_STRUCT* strike = node->child; strike; strike = strike->next)
            if (static_cast<const FNT_SOURCE*>(strike->data)->size == size)
                return static_cast<const FNT_SOURCE*>(strike->data);
    }
    return nullptr;
}

std::vector<std::string> familyNames()
{
    std::vector<std::string> names;
    for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.families.child; node; node = node->next)
        names.push_back(static_cast<const FNT_FAMILY*>(node->data)->name);
    return names;
}

std::vector<int> sizes(const char* name, int style)
{
    int count = 123;
    int* list = ftFamilyGetSizes(name, style, &count);
    std::vector<int> result;
    if (list != nullptr)
        result.assign(list, list + count);
    else
        result.push_back(count); // -1 scalable, 0 unknown
    ftFree(list);
    return result;
}

class Catalogue : public testing::Test
{
protected:
    void SetUp() override
    {
        ftSetDebugLevel(3);
        if (FNT_LIBRARY_STRUCT.initialised)
            ftLibraryFree();
        captureStdout([] { ASSERT_EQ(ftLibraryInit(), 1); });
    }
    void TearDown() override
    {
        ftSetDebugLevel(3);
        if (FNT_LIBRARY_STRUCT.initialised)
            ftLibraryFree();
    }

    // Adds the folders and parses; the messages are returned.
    static std::string parse(const std::vector<std::string>& folders)
    {
        return captureStdout([&] {
            for (const std::string& folder : folders)
                EXPECT_EQ(ftLibraryAddPath(folder.c_str()), 0);
            EXPECT_EQ(ftLibraryParseFonts(), 0);
        });
    }
};

TEST_F(Catalogue, BuiltinFamiliesWithoutFolders)
{
    parse({});
    struct Expected
    {
        const char* name;
        int scalable;
        std::vector<std::vector<int>> sizes; // per style 1, 2, 4, 8
    };
    const std::vector<int> courier = {5, 6, 7, 9, 11, 15};
    const std::vector<int> helvetica = {5, 6, 7, 8, 10, 13};
    const std::vector<int> helveticaBold = {5, 6, 7, 8, 10, 14};
    const std::vector<Expected> expected = {
        {"Arial", 1, {{-1}, {-1}, {-1}, {-1}}},
        {"Courier New [monospace]", 1, {{-1}, {-1}, {-1}, {-1}}},
        {"Courier [fixed]", 0, {courier, courier, courier, courier}},
        {"Helvetica [fixed]", 0, {helvetica, helveticaBold, helvetica, helveticaBold}},
    };

    int count = 0;
    FNT_FONT_INFO* fonts = ftLibraryGetFonts(&count);
    ASSERT_NE(fonts, nullptr);
    ASSERT_EQ(count, static_cast<int>(expected.size()));
    const int styles[] = {1, 2, 4, 8};
    for (int i = 0; i < count; ++i) {
        std::printf("%s: scalable %d, styles %d\n", fonts[i].name, fonts[i].scalable, fonts[i].styles);
        EXPECT_STREQ(fonts[i].name, expected[i].name);
        EXPECT_EQ(fonts[i].scalable, expected[i].scalable) << fonts[i].name;
        EXPECT_EQ(fonts[i].styles, 15) << fonts[i].name;
        EXPECT_EQ(fonts[i].buildin, 1) << fonts[i].name;
        EXPECT_EQ(ftFamilyScalable(fonts[i].name), expected[i].scalable);
        EXPECT_EQ(ftFamilyGetStyles(fonts[i].name), 15);
        for (int s = 0; s < 4; ++s) {
            const std::vector<int> got = sizes(fonts[i].name, styles[s]);
            if (!fonts[i].scalable) {
                std::printf("  style %d sizes:", styles[s]);
                for (int size : got)
                    std::printf(" %d", size);
                std::printf("\n");
            }
            EXPECT_EQ(got, expected[i].sizes[s]) << fonts[i].name << " style " << styles[s];
        }
    }
    EXPECT_EQ(fonts[0].fixed, 0);
    EXPECT_EQ(fonts[1].fixed, 1);
    ftFree(fonts);

    // The family records list the strikes of all four styles in catalogue order.
    const FNT_FAMILY* helv = family("Helvetica [fixed]");
    ASSERT_NE(helv, nullptr);
    ASSERT_EQ(helv->sizeCount, 24);
    EXPECT_EQ(std::vector<int>(helv->sizes, helv->sizes + 6), helveticaBold);
    EXPECT_EQ(std::vector<int>(helv->sizes + 18, helv->sizes + 24), helvetica);
    // Style nodes come in the order first seen: bold, bold italic, italic, regular.
    std::vector<int> order;
    for (const FNT_DATA_STRUCT* node = findFamily("Helvetica [fixed]")->child; node; node = node->next)
        order.push_back(static_cast<const FNT_SOURCE*>(node->data)->style);
    EXPECT_EQ(order, (std::vector<int>{2, 8, 4, 1}));
    // Built-in sources carry their data, no path.
    const FNT_SOURCE* arialBold = source("Arial", 2);
    ASSERT_NE(arialBold, nullptr);
    EXPECT_EQ(arialBold->buildin, 1);
    EXPECT_EQ(arialBold->data, FNT_LIBRARY_STRUCT.buildin[1].data);
    EXPECT_EQ(arialBold->dataSize, FNT_LIBRARY_STRUCT.buildin[1].size);
    EXPECT_STREQ(arialBold->path, "");

    // Unknown families and styles.
    EXPECT_EQ(sizes("Nope [fixed]", 1), std::vector<int>{0});
    EXPECT_EQ(sizes("Courier [fixed]", 16), std::vector<int>{0});
    EXPECT_EQ(ftFamilyGetStyles("Nope"), 0);
    EXPECT_EQ(ftFamilyScalable("Nope"), 0);
    EXPECT_EQ(ftFamilyScalable("arial"), 0) << "names are exact";
}

TEST_F(Catalogue, InitAndParseTwiceRegisterOnce)
{
    EXPECT_EQ(ftLibraryInit(), 0);
    EXPECT_EQ(FNT_LIBRARY_STRUCT.buildinCount, 56);
    for (int i = 0; i < 56; ++i)
        EXPECT_TRUE(FNT_LIBRARY_STRUCT.buildin[i].data != nullptr && FNT_LIBRARY_STRUCT.buildin[i].size > 0) << i;
    parse({});
    parse({});
    EXPECT_EQ(familyNames(), (std::vector<std::string>{"Arial", "Courier New [monospace]", "Courier [fixed]",
                                                       "Helvetica [fixed]"}));
    EXPECT_EQ(family("Courier [fixed]")->sizeCount, 24);
    EXPECT_EQ(sizes("Courier [fixed]", 1).size(), 6u);
}

TEST_F(Catalogue, FreeAndInitAgain)
{
    TempFolder folder;
    parse({folder.path()});
    EXPECT_EQ(ftLibraryFree(), 0);
    EXPECT_EQ(FNT_LIBRARY_STRUCT.initialised, 0u);
    EXPECT_EQ(FNT_LIBRARY_STRUCT.paths.child, nullptr);
    EXPECT_EQ(FNT_LIBRARY_STRUCT.families.child, nullptr);
    EXPECT_EQ(FNT_LIBRARY_STRUCT.freetype, nullptr);

    // Every call that needs the library says it is not initialised.
    const std::string notInitialised = error("Font Library not initialized !\n");
    int count = 5;
    EXPECT_EQ(captureStdout([] { EXPECT_EQ(ftLibraryAddPath("."), -8); }), notInitialised);
    EXPECT_EQ(captureStdout([] { EXPECT_EQ(ftLibraryParseFonts(), -8); }), notInitialised);
    EXPECT_EQ(captureStdout([] { EXPECT_EQ(ftLibraryFree(), -8); }), notInitialised);
    EXPECT_EQ(captureStdout([&] { EXPECT_EQ(ftLibraryGetFonts(&count), nullptr); }), notInitialised);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ftFamilyScalable("Arial"), 0);

    const std::string started = captureStdout([] { EXPECT_EQ(ftLibraryInit(), 1); });
    const std::string prefix = "\033[32mlibft INFO -> FreeType Version ";
    EXPECT_EQ(started.rfind(prefix, 0), 0u) << started;
    EXPECT_EQ(started.substr(started.size() - 5), "\n\033[0m");
    EXPECT_NE(FNT_LIBRARY_STRUCT.freetype, nullptr);
    EXPECT_EQ(FNT_LIBRARY_STRUCT.buildinCount, 56);
    parse({});
    EXPECT_EQ(familyNames().size(), 4u);
}

TEST_F(Catalogue, NullArgumentsAreReported)
{
    parse({});
    int count = 7;
    struct Case
    {
        const char* what;
        std::function<int()> call;
        int result;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"add path", [] { return ftLibraryAddPath(nullptr); }, -1, error("ftLibraryAddPath: path = NULL !\n")},
        {"scalable", [] { return ftFamilyScalable(nullptr); }, -20, error("ftFamilyScalable: family = NULL !\n")},
        {"styles", [] { return ftFamilyGetStyles(nullptr); }, -20, error("ftFontGetStyles: family = NULL !\n")},
        {"sizes family", [&] { return ftFamilyGetSizes(nullptr, 1, &count) == nullptr ? count : 1; }, 0,
         error("ftFontGetStyles: family = NULL !\n")},
        {"sizes count", [] { return ftFamilyGetSizes("Courier [fixed]", 1, nullptr) == nullptr ? 0 : 1; }, 0,
         error("ftFontGetStyles: count = NULL !\n")},
        {"fonts", [] { return ftLibraryGetFonts(nullptr) == nullptr ? 0 : 1; }, 0,
         error("ftLibraryGetFonts: ld = 0 !\n")},
        {"free", [] { return ftFree(nullptr); }, -1, ""},
    };
    for (const Case& c : cases) {
        int result = 99;
        EXPECT_EQ(captureStdout([&] { result = c.call(); }), c.message) << c.what;
        EXPECT_EQ(result, c.result) << c.what;
    }
}

TEST_F(Catalogue, FoldersGiveOnlyTtfFiles)
{
    TempFolder folder;
    writeBdf(folder.file("a.ttf"), "FamA", 100);
    writeBdf(folder.file("b.TTF"), "FamB", 100);
    writeBdf(folder.file("c.Ttf"), "FamC", 100);
    writeBdf(folder.file("d.ttf.bak"), "FamD", 100);
    writeBdf(folder.file("e.pcf"), "FamE", 100);
    writeBdf(folder.file("ttf"), "FamF", 100);
    parse({folder.path(), folder.file("missing"), folder.file("a.ttf")});

    EXPECT_EQ(familyNames(), (std::vector<std::string>{"Arial", "Courier New [monospace]", "Courier [fixed]",
                                                       "FamA [fixed]", "FamB [fixed]", "Helvetica [fixed]"}));
    const FNT_SOURCE* a = source("FamA [fixed]", 1, 10);
    ASSERT_NE(a, nullptr);
    EXPECT_STREQ(a->path, folder.file("a.ttf").c_str());
    EXPECT_EQ(a->buildin, 0);
    EXPECT_EQ(a->data, nullptr);
    EXPECT_EQ(family("FamB [fixed]")->buildin, 0);
    // The folders stay in the order added.
    std::vector<std::string> paths;
    for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.paths.child; node; node = node->next)
        paths.push_back(static_cast<const char*>(node->data));
    EXPECT_EQ(paths, (std::vector<std::string>{folder.path(), folder.file("missing"), folder.file("a.ttf")}));
}

TEST_F(Catalogue, OnlyRegularFilesAreOpenedAndLinksAreFollowed)
{
    TempFolder root;
    const std::string fonts = root.folder("fonts");
    const std::string elsewhere = root.folder("elsewhere");
    // A pipe without a writer would keep an opener waiting for ever.
    PipeWatch pipe(fonts + "/x.ttf");
    ASSERT_TRUE(pipe.made());
    root.folder("fonts/dir.ttf");
    std::filesystem::create_symlink("/dev/null", fonts + "/null.ttf");
    std::filesystem::create_symlink(fonts + "/x.ttf", fonts + "/pipe.ttf");
    writeBdf(elsewhere + "/linked.bdf", "FamL", 100);
    std::filesystem::create_symlink(elsewhere + "/linked.bdf", fonts + "/link.ttf");
    writeBdf(fonts + "/plain.ttf", "FamP", 100);
    std::ofstream(fonts + "/junk.ttf") << "no font at all\n";

    // Every file opened is closed again, whether FreeType took it or not.
    auto openFiles = [] {
        return std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                             std::filesystem::directory_iterator());
    };
    const auto before = openFiles();
    const std::string said = parse({fonts});
    EXPECT_EQ(openFiles(), before);
    EXPECT_FALSE(pipe.opened());

    EXPECT_EQ(said, "") << "skipped without a word, as files FreeType cannot open";
    EXPECT_EQ(familyNames(), (std::vector<std::string>{"Arial", "Courier New [monospace]", "Courier [fixed]",
                                                       "FamL [fixed]", "FamP [fixed]", "Helvetica [fixed]"}));
    const FNT_SOURCE* linked = source("FamL [fixed]", 1, 10);
    ASSERT_NE(linked, nullptr);
    EXPECT_STREQ(linked->path, (fonts + "/link.ttf").c_str()) << "the link's own path";
    EXPECT_TRUE(std::filesystem::is_fifo(fonts + "/x.ttf"));
}

TEST_F(Catalogue, FirstSourceOfAStyleOrStrikeWins)
{
    TempFolder root;
    const std::string one = root.folder("one");
    const std::string two = root.folder("two");
    // A built-in strike under a ".ttf" name: FreeType opens it by content.
    std::filesystem::copy_file(kFonts + "/helvR12-ISO8859-1.pcf.gz", one + "/helv.ttf");
    // One outline font in both folders.
    std::filesystem::copy_file(kFonts + "/arial.ttf", one + "/sans.ttf");
    std::filesystem::copy_file(kFonts + "/arial.ttf", two + "/sans.ttf");
    // One strike size from two files, and a second size.
    writeBdf(one + "/s10.ttf", "FamS", 100);
    writeBdf(two + "/s10.ttf", "FamS", 100);
    writeBdf(two + "/s14.ttf", "FamS", 140);
    parse({one, two});

    const FNT_SOURCE* helv = source("Helvetica [fixed]", 1, 7);
    ASSERT_NE(helv, nullptr);
    EXPECT_EQ(helv->buildin, 1);
    EXPECT_STREQ(helv->path, "");
    EXPECT_EQ(sizes("Helvetica [fixed]", 1), (std::vector<int>{5, 6, 7, 8, 10, 13}));
    EXPECT_EQ(family("Helvetica [fixed]")->sizeCount, 24);

    // Folder fonts keep their own family name.
    const FNT_SOURCE* sans = source("Liberation Sans", 1);
    ASSERT_NE(sans, nullptr);
    EXPECT_STREQ(sans->path, (one + "/sans.ttf").c_str());
    EXPECT_EQ(family("Liberation Sans")->buildin, 0);
    EXPECT_EQ(ftFamilyScalable("Liberation Sans"), 1);

    EXPECT_EQ(sizes("FamS [fixed]", 1), (std::vector<int>{10, 14}));
    EXPECT_STREQ(source("FamS [fixed]", 1, 10)->path, (one + "/s10.ttf").c_str());
    EXPECT_EQ(family("FamS [fixed]")->sizeCount, 2);
}

TEST_F(Catalogue, StyleCodesComeFromWeightAndSlant)
{
    TempFolder folder;
    struct Case
    {
        const char* weight;
        const char* slant;
        int width;
        int style;
    };
    const Case cases[] = {
        {"Bold", "O", 80, 8}, {"Medium", "I", 90, 4}, {"Bold", "R", 100, 2},
        {"Medium", "R", 110, 1}, {"Medium", "O", 120, 4},
    };
    int n = 0;
    for (const Case& c : cases)
        writeBdf(folder.file("f" + std::to_string(n++) + ".ttf"), "FamY", c.width, c.weight, c.slant);
    parse({folder.path()});
    EXPECT_EQ(ftFamilyGetStyles("FamY [fixed]"), 15);
    for (const Case& c : cases) {
        // Listing order decides which of the two italics comes first.
        const std::vector<int> got = sizes("FamY [fixed]", c.style);
        EXPECT_NE(std::find(got.begin(), got.end(), c.width / 10), got.end()) << c.weight << c.slant;
    }
    EXPECT_EQ(sizes("FamY [fixed]", 4).size(), 2u);
}

TEST_F(Catalogue, LongNamesAndPathsAreBounded)
{
    TempFolder root;
    const std::string longName(100, 'N');
    writeBdf(root.file("long.ttf"), longName, 100);

    // Folders whose file paths have 259 characters (fit) and 260 (do not).
    const size_t base = root.path().size() + 1;
    const std::string fits = root.folder(std::string(259 - base - 1 - 5, 'f'));
    const std::string over = root.folder(std::string(260 - base - 1 - 5, 'o'));
    ASSERT_EQ((fits + "/x.ttf").size(), 259u);
    writeBdf(fits + "/x.ttf", "FamFit", 100);
    writeBdf(over + "/x.ttf", "FamOver", 100);

    const std::string longPath(2000, 'p');
    std::string added;
    const std::string messages = captureStdout([&] {
        EXPECT_EQ(ftLibraryAddPath(longPath.c_str()), -1);
        EXPECT_EQ(ftLibraryAddPath(root.path().c_str()), 0);
        EXPECT_EQ(ftLibraryAddPath(fits.c_str()), 0);
        EXPECT_EQ(ftLibraryAddPath(over.c_str()), 0);
        EXPECT_EQ(ftLibraryParseFonts(), 0);
    });
    EXPECT_NE(messages.find(error("ftLibraryAddPath: path of 2000 characters too long !\n")), std::string::npos)
        << messages;
    EXPECT_NE(messages.find(warning("font file skipped, its path of 260 characters is too long: <x.ttf>\n")),
              std::string::npos)
        << messages;

    int count = 0;
    FNT_FONT_INFO* fonts = ftLibraryGetFonts(&count);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.emplace_back(fonts[i].name);
    ftFree(fonts);
    const std::string cut = longName.substr(0, 63);
    EXPECT_NE(std::find(names.begin(), names.end(), cut), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), "FamFit [fixed]"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "FamOver [fixed]"), names.end());
    EXPECT_STREQ(source("FamFit [fixed]", 1, 10)->path, (fits + "/x.ttf").c_str());
    // The long folder was not added.
    int folders = 0;
    for (const FNT_DATA_STRUCT* node = FNT_LIBRARY_STRUCT.paths.child; node; node = node->next)
        ++folders;
    EXPECT_EQ(folders, 3);
}

} // namespace
