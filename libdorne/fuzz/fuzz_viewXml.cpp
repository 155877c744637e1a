// libFuzzer target: arbitrary bytes as an XML view file for loadFileXml. A
// refused file leaves the caller's lists and block as they were; a file
// that is read whole is saved again as well-formed XML 1.0 and reads back
// with the same sources and the same tree of elements and actions, every
// text in them the same bytes.
#include "viewFuzzSupport.h"
#include "xmlSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

using namespace viewfuzz;

namespace {

// The same actions, with the same bytes in the texts their kinds write.
bool sameActions(const ACTION_STRUCT* a, const ACTION_STRUCT* b)
{
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next)
        if (a->type != b->type || std::strcmp(a->var, b->var) != 0 ||
            (a->type == 0 && std::strcmp(a->format, b->format) != 0) ||
            (a->type == 6 && std::strcmp(a->secondVar, b->secondVar) != 0) ||
            (a->type == 11 && std::strcmp(a->polyName, b->polyName) != 0))
            return false;
    return a == nullptr && b == nullptr;
}

// The same tree: kinds, names, texts and actions, element by element.
bool sameTree(const ELEMENT_STRUCT* a, const ELEMENT_STRUCT* b)
{
    for (; a != nullptr && b != nullptr; a = a->next, b = b->next) {
        if (a->kind != b->kind || std::strcmp(a->name, b->name) != 0 || !sameActions(a->actions, b->actions) ||
            !sameTree(a->children, b->children))
            return false;
        if (a->kind == VD_TEXT && std::strcmp(static_cast<const TEXT_STRUCT*>(a->data)->text,
                                              static_cast<const TEXT_STRUCT*>(b->data)->text) != 0)
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
    if (rc == 0) {
        check(std::strcmp(caller.config.texts[1], "kept") == 0);
        checkSavedAlike(out, caller, saveFileXml, loadFileXml,
                        [&](ELEMENT_STRUCT* againElements, DD_DATA_TYPE_STRUCT* again, const CONFIG_STRUCT&) {
                            checkAlike(caller.own->next, again, true);
                            check(sameTree(caller.elements, againElements));
                        });
        std::ifstream saved(out, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
        check(!text.empty() && xmlsupport::readConforming(text).error.empty());
    }
    return 0;
}
