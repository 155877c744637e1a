// Writes the instrument page's view files, "instruments.v" and "frame.v",
// into the folder given (the bundle's resource folder at build time).
#include "InstrumentViews.h"

#include <cstdio>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: orlo_instrumentviews FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    struct stat info;
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        std::fprintf(stderr, "orlo_instrumentviews: <%s> is no folder\n", folder.c_str());
        return 1;
    }
    std::string error;
    if (!KAVO::InstrumentViews::writeAll(folder, error)) {
        std::fprintf(stderr, "orlo_instrumentviews: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
