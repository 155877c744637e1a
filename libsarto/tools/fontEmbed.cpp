// The font embedding tool: writes the headers of the built-in fonts.
//   sarto_fontembed <fonts folder> <include folder>
#include "fontInclude.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <fonts folder> <include folder>\n", argv[0]);
        return 2;
    }
    return ftiConvert(argv[1], argv[2]) == 0 ? 0 : 1;
}
