// Font embedding: font files become headers of byte arrays.
#include "fontInclude.h"

#include "buildinItems.h"

#include <climits>
#include <cstdio>
#include <memory>
#include <string>

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Appends the bytes as "0x%02x", nine to a line; index counts the bytes
// written before.
void appendBytes(std::string& out, const unsigned char* bytes, size_t n, long long& index)
{
    static const char kHex[] = "0123456789abcdef";
    for (size_t i = 0; i < n; ++i, ++index) {
        if (index > 0)
            out += index % 9 == 0 ? ",\n" : ", ";
        out += "0x";
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 15];
    }
}

} // namespace

int ftiFileToInclude(const char* source, const char* target, const char* name)
{
    File in(std::fopen(source, "rb"));
    if (!in) {
        std::fprintf(stderr, "cannot open %s for read\n", source);
        return -1;
    }
    const std::string temporary = std::string(target) + ".tmp";
    File out(std::fopen(temporary.c_str(), "wb"));
    if (!out) {
        std::fprintf(stderr, "cannot open %s for read\n", target);
        return -1;
    }
    std::fprintf(out.get(), "/*******************************************\n");
    std::fprintf(out.get(), "Font Include File\n");
    std::fprintf(out.get(), "Source: %s\n", source);
    std::fprintf(out.get(), "********************************************/\n\n");
    std::fprintf(out.get(), "static unsigned char %s[] = {\n", name);

    // The file is read in blocks; its size must fit the int of the size line.
    unsigned char block[65536];
    std::string text;
    long long count = 0;
    bool ok = true;
    size_t n = 0;
    while ((n = std::fread(block, 1, sizeof block, in.get())) > 0) {
        text.clear();
        appendBytes(text, block, n, count);
        if (std::fwrite(text.data(), 1, text.size(), out.get()) != text.size() || count > INT_MAX) {
            ok = false;
            break;
        }
    }
    ok = ok && !std::ferror(in.get());
    std::fprintf(out.get(), "\n};\n");
    std::fprintf(out.get(), "static int %sSize = %d;\n\n", name, static_cast<int>(count));
    ok = ok && !std::ferror(out.get());
    ok = (std::fclose(out.release()) == 0) && ok;
    if (ok && std::rename(temporary.c_str(), target) == 0)
        return 0;
    std::remove(temporary.c_str());
    std::fprintf(stderr, "cannot write %s\n", target);
    return -1;
}

int ftiConvert(const char* fontsDir, const char* includeDir)
{
    int result = 0;
    const auto convert = [&](const char* item, const char* suffix) {
        const std::string source = std::string(fontsDir) + "/" + item + suffix;
        const std::string target = std::string(includeDir) + "/" + item + ".h";
        if (ftiFileToInclude(source.c_str(), target.c_str(), item) != 0)
            result = -1;
    };
#define SARTO_CONVERT_OUTLINE(item, family) convert(#item, ".ttf");
#define SARTO_CONVERT_STRIKE(item) convert(#item, "-ISO8859-1.pcf.gz");
    SARTO_BUILDIN_OUTLINES(SARTO_CONVERT_OUTLINE)
    SARTO_BUILDIN_STRIKES(SARTO_CONVERT_STRIKE)
#undef SARTO_CONVERT_OUTLINE
#undef SARTO_CONVERT_STRIKE
    return result;
}
