// Shared by the view file fuzz targets: the font library's left-out
// built-in fonts, a folder for the input and the file saved from it, and
// the checks of what a read and a read of the saved file make.
// Included by one source file per target (it defines the font stubs).
#ifndef DORNE_VIEW_FUZZ_SUPPORT_H
#define DORNE_VIEW_FUZZ_SUPPORT_H

#include "sartoInternal.h"

#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneFiles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

// The font library's built-in fonts are left out of these targets.
void ftiRegisterBuildins(FNT_STRUCT*) {}
const char* ftiBuildinFamily(const unsigned char*)
{
    return nullptr;
}

namespace viewfuzz {

inline void check(bool condition)
{
    if (!condition)
        abort();
}

// A folder of its own (named from pattern, in memory under /dev/shm where
// there is one, else under /tmp: every save syncs its file, which on a disk
// costs more than the rest of a run) holding the input ("in" + ending) and
// the file saved from it ("out" + ending), removed with both at exit.
class FuzzFiles
{
public:
    FuzzFiles(const char* pattern, const char* ending)
    {
        std::string name = (access("/dev/shm", W_OK | X_OK) == 0 ? "/dev/shm/" : "/tmp/") + std::string(pattern);
        if (mkdtemp(&name[0]) == nullptr)
            abort();
        folder_ = name;
        in = folder_ + "/in" + ending;
        out = folder_ + "/out" + ending;
    }
    ~FuzzFiles()
    {
        std::remove(in.c_str());
        std::remove(out.c_str());
        rmdir(folder_.c_str());
    }
    FuzzFiles(const FuzzFiles&) = delete;
    FuzzFiles& operator=(const FuzzFiles&) = delete;

    // Replaces the input file's contents with the bytes.
    void writeInput(const uint8_t* data, size_t size) const
    {
        FILE* f = std::fopen(in.c_str(), "wb");
        check(f != nullptr && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0);
    }

    std::string in, out;

private:
    std::string folder_;
};

inline void freeSources(DD_DATA_TYPE_STRUCT** head)
{
    while (*head != nullptr)
        delDataType(head, *head, 0);
}

inline bool sameParameter(const DD_PARA_STRUCT& a, const DD_PARA_STRUCT& b)
{
    return a.value == b.value && std::strcmp(a.text, b.text) == 0;
}

// The sources of two reads agree in every stored value; with sameAlloc
// the sources' parameter entries allocated too.
inline void checkAlike(const DD_DATA_TYPE_STRUCT* a, const DD_DATA_TYPE_STRUCT* b, bool sameAlloc)
{
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        check(a->type == b->type && a->dataOptionCount == b->dataOptionCount &&
              a->varOptionCount == b->varOptionCount && (!sameAlloc || a->paraAlloc == b->paraAlloc));
        for (int p = 0; p < a->dataOptionCount; ++p)
            check(sameParameter(a->para[p], b->para[p]));
        const DD_VAR_STRUCT* u = a->variables;
        const DD_VAR_STRUCT* v = b->variables;
        for (; u != nullptr && v != nullptr; u = u->next, v = v->next) {
            check(u->type == v->type && std::strcmp(u->name, v->name) == 0 &&
                  std::strcmp(u->defaultText, v->defaultText) == 0 && u->paraCount == v->paraCount);
            for (int p = 0; p < u->paraCount && p < u->paraAlloc; ++p)
                check(sameParameter(u->para[p], v->para[p]));
        }
        check(u == nullptr && v == nullptr);
    }
    check(a == nullptr && b == nullptr);
}

// What the caller of a view-file read already holds: a source of its own
// at the head of its list and a block with values of its own. A read
// appends behind that source; a refused one leaves all of it as it was.
// Frees what it holds and what a read added.
struct CallerLists
{
    CallerLists()
    {
        own->type = -7;
        config.x = 1234.5f;
        std::strcpy(config.texts[1], "kept");
        before = config;
    }
    ~CallerLists()
    {
        elementDeleteAll(&elements);
        freeSources(&sources);
    }
    CallerLists(const CallerLists&) = delete;
    CallerLists& operator=(const CallerLists&) = delete;

    // After a read that returned rc: the own source still heads the list;
    // a refusal (-1, the only one) added nothing and kept the block.
    void checkAfter(int rc) const
    {
        check(sources == own && own->prev == nullptr);
        if (rc != 0) {
            check(rc == -1 && elements == nullptr && own->next == nullptr);
            check(std::memcmp(&config, &before, sizeof config) == 0);
        }
    }

    DD_DATA_TYPE_STRUCT* sources = createDataType(10);
    DD_DATA_TYPE_STRUCT* const own = sources;
    ELEMENT_STRUCT* elements = nullptr;
    CONFIG_STRUCT config{};
    CONFIG_STRUCT before{};
};

// What a successful read gave, saved with save and read back with load
// into fresh lists; compare(elements, sources, block) of the second read
// checks it, and everything of that read is freed.
template <typename Save, typename Load, typename Compare>
void checkSavedAlike(const std::string& path, CallerLists& read, Save save, Load load, Compare compare)
{
    check(save(path.c_str(), read.elements, read.own->next, &read.config) == 0);
    DD_DATA_TYPE_STRUCT* again = nullptr;
    ELEMENT_STRUCT* againElements = nullptr;
    CONFIG_STRUCT againConfig{};
    check(load(path.c_str(), &againElements, &again, &againConfig) == 0);
    compare(againElements, again, againConfig);
    freeSources(&again);
    elementDeleteAll(&againElements);
}

} // namespace viewfuzz

#endif
