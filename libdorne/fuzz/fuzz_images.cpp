// libFuzzer target: the image pixel blocks of view files. The first byte
// picks the layout (odd: RGB of the older files, even: RGBA), the next eight
// are the width and height as a file stores them (most significant byte
// first), and the rest is the file from the pixel block on. A load either
// registers exactly the pixels the file holds (RGB spread to RGBA with alpha
// 255) or refuses with texture -1; the refused-size code comes exactly for
// the sizes the registry refuses (negative, or RGBA bytes beyond int);
// nothing may read past the file or allocate for pixels the file does not
// hold.
#include "dorneFiles.h"
#include "dorneLog.h"
#include "dorneTextures.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

int32_t bigEndian(const uint8_t* p)
{
    return int32_t(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]));
}

// The registered pixels are the file's.
bool sameAsFile(const unsigned char* px, const std::vector<unsigned char>& block, size_t pixels, bool rgb)
{
    for (size_t i = 0; i < pixels; ++i) { // bounded by the block the file holds
        for (size_t c = 0; c < 3; ++c)
            if (px[4 * i + c] != block[(rgb ? 3 : 4) * i + c])
                return false;
        if (px[4 * i + 3] != (rgb ? 255 : block[4 * i + 3]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 10)
        return 0;
    setLogLevel(0);
    const bool rgb = (data[0] & 1) != 0;
    IMAGE_STRUCT image{};
    image.pixelWidth = bigEndian(data + 1);
    image.pixelHeight = bigEndian(data + 5);
    std::vector<unsigned char> block(data + 9, data + size);
    FILE* file = fmemopen(block.data(), block.size(), "rb");
    if (file == nullptr)
        return 0;
    const int result = rgb ? loadTextureOld(file, &image) : loadTexture(file, &image);
    std::fclose(file);

    const long long pixels = (long long)image.pixelWidth * image.pixelHeight;
    const bool refusedSize = image.pixelWidth < 0 || image.pixelHeight < 0 || pixels > INT_MAX / 4;
    if ((result == -2) != refusedSize)
        std::abort();
    if (result == 0 && image.texture > 0) {
        const unsigned char* px = txData(image.texture);
        if (px == nullptr || pixels <= 0 || size_t(pixels) * (rgb ? 3 : 4) > block.size() ||
            !sameAsFile(px, block, size_t(pixels), rgb))
            std::abort();
        txDelete(image.texture);
    } else if (image.texture != -1 || (result == 0 && pixels != 0)) {
        std::abort();
    }
    return 0;
}
