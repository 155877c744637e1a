// libFuzzer target: arbitrary text as the path data of a "path" element.
// Nothing may crash or stall; every subpath holds points, every point has
// w = 1, and a path never exceeds its 1,000,000 points.
#include "xml/Path.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const dorne::Path path;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const dorne::Path::Subpaths subpaths = path.pointsFromString(text);
    size_t total = 0;
    for (const auto& points : subpaths) {
        if (points.empty())
            std::abort();
        for (const auto& p : points)
            if (p.get(2) != 1.0)
                std::abort();
        total += points.size();
    }
    if (total > 1000000)
        std::abort();
    return 0;
}
