// Image pixels from view files and decoded payloads into the texture
// registry. Width and height come from the file: a size that is negative or
// does not fit, a pixel block shorter than it claims or a buffer that cannot
// be had is refused with a message before anything is registered, and the
// buffer is only allocated once the file is known to hold the block.
#include "dorneFiles.h"
#include "dorneLog.h"
#include "dorneTextures.h"
#include "gl/textureRegistry.h"

#include <cstdio>
#include <cstdlib>

namespace {

enum { kRefusedSize = -2, kShortBlock = -3, kNoMemory = -4 };

// Bytes between the file's position and its end; -1 when the stream cannot
// tell.
long bytesLeft(FILE* file)
{
    const long here = std::ftell(file);
    if (here < 0 || std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long end = std::ftell(file);
    if (std::fseek(file, here, SEEK_SET) != 0 || end < here)
        return -1;
    return end - here;
}

// The image gives up the texture it held; it has none (-1) until a load
// registers one.
void dropTexture(IMAGE_STRUCT* image)
{
    if (image->texture > 0)
        txDelete(image->texture);
    image->texture = -1;
}

// Pixels of a width x height image need the bytes the registry gives for
// that size: a size txCreate would refuse is refused here, before anything
// is read or allocated. An image of width or height 0 has none. false,
// logged, for a size that cannot be.
bool imageBytes(const IMAGE_STRUCT* image, const char* who, int& bytes)
{
    const int w = image->pixelWidth, h = image->pixelHeight;
    bytes = 0;
    if (w == 0 || h == 0) {
        if (w >= 0 && h >= 0)
            return true;
    } else {
        bytes = txImageBytes(w, h);
        if (bytes >= 0)
            return true;
    }
    logMsg(1, "%s: image size %d x %d refused\n", who, w, h);
    bytes = 0;
    return false;
}

// Registers the pixels of a size imageBytes accepted: txCreate then fails
// only for want of memory.
int registerPixels(IMAGE_STRUCT* image, const unsigned char* rgba, const char* who)
{
    image->texture = txCreate(image->pixelWidth, image->pixelHeight, rgba);
    if (image->texture >= 0)
        return 0;
    logMsg(1, "%s: out of memory\n", who);
    return kNoMemory;
}

// Reads width x height pixels of channels (3 or 4) bytes each and registers
// them as RGBA.
int loadPixels(FILE* file, IMAGE_STRUCT* image, size_t channels, const char* who)
{
    if (file == nullptr || image == nullptr)
        return -1;
    dropTexture(image);
    int bytes = 0;
    if (!imageBytes(image, who, bytes))
        return kRefusedSize;
    if (bytes == 0) // stored without pixels: nothing follows in the file
        return 0;
    const size_t count = size_t(bytes) / 4, stored = count * channels;
    const long left = bytesLeft(file);
    if (left >= 0 && size_t(left) < stored) {
        logMsg(1, "%s: %zu bytes of pixels expected, %ld left\n", who, stored, left);
        return kShortBlock;
    }
    auto* pixels = static_cast<unsigned char*>(std::malloc(size_t(bytes)));
    if (pixels == nullptr) {
        logMsg(1, "%s: out of memory\n", who);
        return kNoMemory;
    }
    // RGB goes to the end of the buffer and is spread to RGBA from the
    // front: pixel i is written over bytes that pixels below i held.
    unsigned char* block = pixels + (size_t(bytes) - stored);
    const size_t got = std::fread(block, 1, stored, file);
    if (got != stored) {
        std::free(pixels);
        logMsg(1, "%s: %zu bytes of pixels expected, %zu read\n", who, stored, got);
        return kShortBlock;
    }
    if (channels == 3) {
        for (size_t i = 0; i < count; ++i) { // bounded by the image size
            const unsigned char r = block[3 * i], g = block[3 * i + 1], b = block[3 * i + 2];
            pixels[4 * i] = r;
            pixels[4 * i + 1] = g;
            pixels[4 * i + 2] = b;
            pixels[4 * i + 3] = 255;
        }
    }
    const int result = registerPixels(image, pixels, who);
    std::free(pixels);
    return result;
}

} // namespace

int loadTexture(FILE* file, IMAGE_STRUCT* image)
{
    return loadPixels(file, image, 4, "loadTexture");
}

int loadTextureOld(FILE* file, IMAGE_STRUCT* image)
{
    return loadPixels(file, image, 3, "loadTextureOld");
}

int loadTextureFromData(const unsigned char* rgba, IMAGE_STRUCT* image)
{
    if (rgba == nullptr || image == nullptr)
        return -1;
    dropTexture(image);
    int bytes = 0;
    if (!imageBytes(image, "loadTextureFromData", bytes))
        return kRefusedSize;
    if (bytes == 0)
        return 0;
    return registerPixels(image, rgba, "loadTextureFromData");
}
