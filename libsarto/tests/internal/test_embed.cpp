// The embedding tool's header format and its failures.
#include "../fontFixtures.h"
#include "fontInclude.h"

#include <fstream>
#include <sstream>
#include <string>

using namespace sartotest;

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string banner(const std::string& source, const std::string& name)
{
    return "/*******************************************\nFont Include File\nSource: " + source +
           "\n********************************************/\n\nstatic unsigned char " + name + "[] = {\n";
}

TEST(Embed, HeaderFormat)
{
    TempFolder folder;
    const struct
    {
        std::string bytes;
        std::string body;
    } cases[] = {
        {std::string("\x00\x01\xff", 3), "0x00, 0x01, 0xff"},
        {"ABCDEFGHI", "0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49"},
        {"ABCDEFGHIJ", "0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47, 0x48, 0x49,\n0x4a"},
        {std::string(19, '\x7f'),
         "0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f,\n"
         "0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f, 0x7f,\n0x7f"},
    };
    for (const auto& c : cases) {
        const std::string source = folder.file("in.bin");
        const std::string target = folder.file("small.h");
        writeBytes(source, c.bytes);
        ASSERT_EQ(ftiFileToInclude(source.c_str(), target.c_str(), "small"), 0);
        EXPECT_EQ(readFile(target), banner(source, "small") + c.body + "\n};\nstatic int smallSize = " +
                                        std::to_string(c.bytes.size()) + ";\n\n");
    }
}

TEST(Embed, FailuresNameTheFileAndKeepTheOldHeader)
{
    TempFolder folder;
    const std::string source = folder.file("in.bin");
    const std::string target = folder.file("kept.h");
    writeBytes(source, "x");
    writeBytes(target, "old");

    testing::internal::CaptureStderr();
    EXPECT_EQ(ftiFileToInclude(folder.file("missing.ttf").c_str(), target.c_str(), "kept"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot open " + folder.file("missing.ttf") + " for read\n");
    EXPECT_EQ(readFile(target), "old");

    const std::string unwritable = folder.file("no/such/folder.h");
    testing::internal::CaptureStderr();
    EXPECT_EQ(ftiFileToInclude(source.c_str(), unwritable.c_str(), "kept"), -1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "cannot open " + unwritable + " for read\n");

    // A whole conversion from a folder without fonts fails item by item.
    testing::internal::CaptureStderr();
    EXPECT_EQ(ftiConvert(folder.file("none").c_str(), folder.path().c_str()), -1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.rfind("cannot open " + folder.file("none") + "/arial.ttf for read\n", 0), 0u) << said;
    EXPECT_NE(said.find(folder.file("none") + "/courR24-ISO8859-1.pcf.gz"), std::string::npos);
}

} // namespace
