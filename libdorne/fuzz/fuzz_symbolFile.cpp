// libFuzzer target: arbitrary text as a symbol file for loadSymbolFile. The
// caller's list keeps its element in front; what is appended is groups named
// after their symbol number holding the shapes the import makes, and saved
// as a view file they read back alike.
#include "viewFuzzSupport.h"

#include "dorneElements.h"
#include "dorneFiles.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace viewfuzz;

namespace {

int count(const ELEMENT_STRUCT* e)
{
    int n = 0;
    for (; e != nullptr; e = e->next)
        ++n;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (setLogLevel(0), true);
    (void)quiet;
    static const FuzzFiles files("dorneSymFuzzXXXXXX", ".sym");
    files.writeInput(data, size);

    ELEMENT_STRUCT* list = nullptr;
    ELEMENT_STRUCT* own = elementCreate(VD_LINE);
    check(own != nullptr);
    elementAppend(own, &list);

    check(loadSymbolFile(files.in.c_str(), &list, nullptr, nullptr) == 0);
    check(list == own && own->prev == nullptr);
    for (const ELEMENT_STRUCT* g = own->next; g != nullptr; g = g->next) {
        check(g->kind == VD_GROUP && g->prev != nullptr && g->prev->next == g);
        check(std::strncmp(g->name, "SYMBOL ", 7) == 0);
        for (const ELEMENT_STRUCT* c = g->children; c != nullptr; c = c->next) {
            check(c->parent == g && c->data != nullptr);
            check(c->kind == VD_LINE || c->kind == VD_RECTANGLE || c->kind == VD_TEXT || c->kind == VD_CIRCLE ||
                  c->kind == VD_CPOLYGON);
            if (c->kind == VD_TEXT)
                check(std::strlen(static_cast<const TEXT_STRUCT*>(c->data)->text) <= 255);
        }
    }

    if (own->next == nullptr) { // nothing to save
        elementDeleteAll(&list);
        return 0;
    }
    CONFIG_STRUCT config{};
    check(saveFile(files.out.c_str(), own->next, nullptr, &config) == 0);
    ELEMENT_STRUCT* back = nullptr;
    DD_DATA_TYPE_STRUCT* sources = nullptr;
    CONFIG_STRUCT backConfig{};
    check(loadFile(files.out.c_str(), &back, &sources, &backConfig) == 0);
    check(sources == nullptr && count(back) == count(own->next));
    for (const ELEMENT_STRUCT *a = own->next, *b = back; a != nullptr; a = a->next, b = b->next)
        check(std::strcmp(a->name, b->name) == 0 && count(a->children) == count(b->children));
    elementDeleteAll(&back);
    elementDeleteAll(&list);
    return 0;
}
