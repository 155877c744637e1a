// libFuzzer target: arbitrary bytes as a view file for loadFile and
// loadConfigFile. A refused file leaves the caller's lists and block as they
// were; a file that is read whole is saved again and reads back alike.
#include "viewFuzzSupport.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstring>
#include <string>

using namespace viewfuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool quiet = (setLogLevel(0), true);
    (void)quiet;
    static const FuzzFiles files("dorneFuzzXXXXXX", ".v");
    const std::string& in = files.in;
    const std::string& out = files.out;
    files.writeInput(data, size);

    CallerLists caller;
    const int rc = loadFile(in.c_str(), &caller.elements, &caller.sources, &caller.config);
    caller.checkAfter(rc);
    if (rc == 0) {
        // Only revisions 1.07 to 1.10 carry the block's texts.
        const auto be32 = [data](size_t at) {
            return int32_t(uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 |
                           data[at + 3]);
        };
        const long long version = (long long)be32(30) * 100 + be32(34); // read whole: the header is there
        check((version >= 107 && version <= 110) || std::strcmp(caller.config.texts[1], "kept") == 0);
        checkSavedAlike(out, caller, saveFile, loadFile,
                        [&](ELEMENT_STRUCT*, DD_DATA_TYPE_STRUCT* again, const CONFIG_STRUCT& againConfig) {
                            checkAlike(caller.own->next, again, false);
                            // the bits, NaNs too
                            check(std::memcmp(&againConfig, &caller.config, 7 * sizeof(float)) == 0);
                        });
    }
    CONFIG_STRUCT block{};
    const int blockRc = loadConfigFile(in.c_str(), &block);
    check(rc != 0 || blockRc == 0);
    return 0;
}
