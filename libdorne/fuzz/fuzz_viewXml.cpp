// libFuzzer target: arbitrary bytes as an XML view file for loadFileXml. A
// refused file leaves the caller's lists and block as they were; a file
// that is read whole and whose texts are valid UTF-8 (TinyXML does not
// write others back as they were read) is saved again and reads back with
// the same sources and the same tree of elements and actions.
#include "viewFuzzSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace viewfuzz;

namespace {

// Texts of valid UTF-8 are what TinyXML writes and reads back unchanged.
bool utf8(const char* text)
{
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0;) {
        const int n = *p < 0x80 ? 1 : (*p & 0xE0) == 0xC0 ? 2 : (*p & 0xF0) == 0xE0 ? 3 : (*p & 0xF8) == 0xF0 ? 4 : 0;
        if (n == 0 || (n > 1 && *p < 0xC2 && n == 2))
            return false;
        for (int k = 1; k < n; ++k)
            if ((p[k] & 0xC0) != 0x80)
                return false;
        p += n;
    }
    return true;
}

bool allUtf8(const DD_DATA_TYPE_STRUCT* s)
{
    for (; s != nullptr; s = s->next) {
        for (int p = 0; p < s->dataOptionCount; ++p)
            if (!utf8(s->para[p].text))
                return false;
        for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
            if (!utf8(v->name) || !utf8(v->defaultText))
                return false;
            for (int p = 0; p < v->paraCount && p < v->paraAlloc; ++p)
                if (!utf8(v->para[p].text))
                    return false;
        }
    }
    return true;
}

// The same tree: kinds, child and action counts, element by element.
bool sameTree(const ELEMENT_STRUCT* a, const ELEMENT_STRUCT* b)
{
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        int na = 0, nb = 0;
        for (const ACTION_STRUCT* x = a->actions; x != nullptr; x = x->next)
            ++na;
        for (const ACTION_STRUCT* x = b->actions; x != nullptr; x = x->next)
            ++nb;
        if (a->kind != b->kind || na != nb || !sameTree(a->children, b->children))
            return false;
    }
    return a == nullptr && b == nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (setLogLevel(0), true);
    (void)quiet;
    static const FuzzFiles files("dorneFuzzXmlXXXXXX", ".xml");
    const std::string& in = files.in;
    const std::string& out = files.out;
    files.writeInput(data, size);

    CallerLists caller;
    const int rc = loadFileXml(in.c_str(), &caller.elements, &caller.sources, &caller.config);
    caller.checkAfter(rc);
    if (rc == 0 && allUtf8(caller.own->next)) {
        check(std::strcmp(caller.config.texts[1], "kept") == 0);
        checkSavedAlike(out, caller, saveFileXml, loadFileXml,
                        [&](ELEMENT_STRUCT* againElements, DD_DATA_TYPE_STRUCT* again, const CONFIG_STRUCT&) {
                            checkAlike(caller.own->next, again, true);
                            check(sameTree(caller.elements, againElements));
                        });
    }
    return 0;
}
