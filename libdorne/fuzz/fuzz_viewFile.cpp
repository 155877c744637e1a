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
        // Only revisions 1.07 to 1.10 carry the block's texts.
        const auto be32 = [data](size_t at) {
            return int32_t(uint32_t(data[at]) << 24 | uint32_t(data[at + 1]) << 16 | uint32_t(data[at + 2]) << 8 |
                           data[at + 3]);
        };
        const long long version = (long long)be32(30) * 100 + be32(34); // read whole: the header is there
        check((version >= 107 && version <= 110) || std::strcmp(config.texts[1], "kept") == 0);
        check(saveFile(out.c_str(), elements, own->next, &config) == 0);
        DD_DATA_TYPE_STRUCT* again = nullptr;
        ELEMENT_STRUCT* againElements = nullptr;
        CONFIG_STRUCT againConfig{};
        check(loadFile(out.c_str(), &againElements, &again, &againConfig) == 0);
        checkAlike(own->next, again, false);
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
