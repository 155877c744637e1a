// libFuzzer target: arbitrary bytes as a view file for loadFile and
// loadConfigFile. A refused file leaves the caller's lists and block as they
// were; a file that is read whole is saved again and reads back alike.
#include "sartoInternal.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// The font library's built-in fonts are left out of this target.
void ftiRegisterBuildins(FNT_STRUCT*) {}
const char* ftiBuildinFamily(const unsigned char*)
{
    return nullptr;
}

namespace {

// A folder of its own, removed with its two files at exit.
struct FuzzFolder
{
    FuzzFolder()
    {
        char pattern[] = "/tmp/dorneFuzzXXXXXX";
        if (mkdtemp(pattern) == nullptr)
            abort();
        path = pattern;
    }
    ~FuzzFolder()
    {
        std::remove((path + "/in.v").c_str());
        std::remove((path + "/out.v").c_str());
        rmdir(path.c_str());
    }
    std::string path;
};

const std::string& folder()
{
    static const FuzzFolder made;
    return made.path;
}

void check(bool condition)
{
    if (!condition)
        abort();
}

void freeSources(DD_DATA_TYPE_STRUCT** head)
{
    while (*head != nullptr)
        delDataType(head, *head, 0);
}

bool sameParameter(const DD_PARA_STRUCT& a, const DD_PARA_STRUCT& b)
{
    return a.value == b.value && std::strcmp(a.text, b.text) == 0;
}

// The sources of two reads agree in every stored value.
void checkAlike(const DD_DATA_TYPE_STRUCT* a, const DD_DATA_TYPE_STRUCT* b)
{
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        check(a->type == b->type && a->dataOptionCount == b->dataOptionCount &&
              a->varOptionCount == b->varOptionCount);
        for (int p = 0; p < a->dataOptionCount; ++p)
            check(sameParameter(a->para[p], b->para[p]));
        const DD_VAR_STRUCT* u = a->variables;
        const DD_VAR_STRUCT* v = b->variables;
        for (; u != nullptr && v != nullptr; u = u->next, v = v->next) {
            check(u->type == v->type && std::strcmp(u->name, v->name) == 0 &&
                  std::strcmp(u->defaultText, v->defaultText) == 0 && u->paraCount == v->paraCount);
            for (int p = 0; p < u->paraCount; ++p)
                check(sameParameter(u->para[p], v->para[p]));
        }
        check(u == nullptr && v == nullptr);
    }
    check(a == nullptr && b == nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (setLogLevel(0), true);
    (void)quiet;
    const std::string in = folder() + "/in.v";
    const std::string out = folder() + "/out.v";
    FILE* f = std::fopen(in.c_str(), "wb");
    check(f != nullptr && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0);

    // The caller already holds a source and a block.
    DD_DATA_TYPE_STRUCT* sources = createDataType(10);
    DD_DATA_TYPE_STRUCT* own = sources;
    own->type = -7;
    ELEMENT_STRUCT* elements = nullptr;
    CONFIG_STRUCT config{};
    config.x = 1234.5f;
    std::strcpy(config.texts[1], "kept");
    const CONFIG_STRUCT before = config;

    const int rc = loadFile(in.c_str(), &elements, &sources, &config);
    check(sources == own && own->prev == nullptr);
    if (rc != 0) {
        check(rc == -1 && elements == nullptr && own->next == nullptr);
        check(std::memcmp(&config, &before, sizeof config) == 0);
    } else {
        check(std::strcmp(config.texts[1], "kept") == 0);
        check(saveFile(out.c_str(), elements, own->next, &config) == 0);
        DD_DATA_TYPE_STRUCT* again = nullptr;
        ELEMENT_STRUCT* againElements = nullptr;
        CONFIG_STRUCT againConfig{};
        check(loadFile(out.c_str(), &againElements, &again, &againConfig) == 0);
        checkAlike(own->next, again);
        check(std::memcmp(&againConfig, &config, 7 * sizeof(float)) == 0); // the bits, NaNs too
        freeSources(&again);
        elementDeleteAll(&againElements);
    }
    CONFIG_STRUCT block{};
    const int blockRc = loadConfigFile(in.c_str(), &block);
    check(rc != 0 || blockRc == 0);

    elementDeleteAll(&elements);
    freeSources(&sources);
    return 0;
}
