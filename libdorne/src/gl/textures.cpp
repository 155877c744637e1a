// The texture registry: images by reference-counted id, GL textures made
// lazily (padded to a power of two, compressed when the driver offers it)
// and drawn through four corners. The registry has no lock of its own:
// every entry point holds the library lock.
#include "dorneTextures.h"

#include "base/libraryLock.h"

#include "dorneHash.h"
#include "dorneLog.h"
#include "dornePlatform.h"
#include "gl/glExtensions.h"
#include "gl/textureRegistry.h"

#include <GL/gl.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <unordered_set>

namespace {

struct Registry
{
    HASH_STRUCT* table = nullptr; // id -> T_Texture (borrowed: auto-delete off)
    bool initialised = false;
    int nextId = 1;               // only grows: ids are never reused
    bool compressionTested = false;
    bool compression = false;     // "GL_ARB_texture_compression" offered
    // Records whose size the GL implementation refused, already logged: a
    // draw retries such a record every frame and must not log every frame.
    std::unordered_set<const T_Texture*> tooLargeLogged;
} registry;

const int kPaddedSizes[] = {64, 128, 256, 512, 1024, 2048};

bool setUp()
{
    if (registry.initialised)
        return true;
    registry.table = mpiHashCreate(10);
    if (registry.table == nullptr)
        return false;
    registry.initialised = true;
    return true;
}

T_Texture* find(int id)
{
    if (id < 0 || !registry.initialised)
        return nullptr;
    return static_cast<T_Texture*>(mpiHashSearch(registry.table, unsigned(id)));
}

int paddedSize(int size)
{
    for (int padded : kPaddedSizes)
        if (size <= padded)
            return padded;
    return 0;
}

// True the first time a record's size is refused (that one is logged).
bool firstTooLarge(const T_Texture* texture)
{
    try {
        return registry.tooLargeLogged.insert(texture).second;
    } catch (const std::bad_alloc&) {
        return true; // cannot remember it: log again rather than never
    }
}

void freeTexture(T_Texture* texture)
{
    registry.tooLargeLogged.erase(texture);
    if (texture->name != 0)
        glDeleteTextures(1, &texture->name);
    std::free(texture->pixels);
    std::free(texture);
}

// Makes the record's GL texture; false (nothing made) when it cannot.
bool createTexture(T_Texture* texture)
{
    if (texture->pixels == nullptr)
        return false;
    // A current context always reports a maximum texture size of 64 or more;
    // the value stays unset without one.
    GLint maxSize = 0;
    if (getGlContext())
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (maxSize <= 0) {
        logMsg(2, "Warning txCreateTexture: no valid openGL context !\n");
        return false;
    }
    if (!registry.compressionTested) {
        registry.compression = glHasExtension("GL_ARB_texture_compression");
        registry.compressionTested = true;
    }
    if (texture->width > maxSize || texture->height > maxSize) {
        if (firstTooLarge(texture))
            logMsg(2, "image too large max = %d\n", int(maxSize));
        return false;
    }
    const int pw = paddedSize(texture->width);
    const int ph = paddedSize(texture->height);
    if (pw == 0 || ph == 0) {
        if (firstTooLarge(texture))
            logMsg(1, "image too large\n");
        return false;
    }

    // Opaque white padding around the image in the first rows and columns.
    const size_t paddedRow = size_t(pw) * 4u;
    auto* padded = static_cast<unsigned char*>(std::malloc(paddedRow * size_t(ph)));
    if (padded == nullptr) {
        logMsg(1, "create texture: out of memory\n");
        return false;
    }
    std::memset(padded, 255, paddedRow * size_t(ph));
    const size_t imageRow = size_t(texture->width) * 4u;
    bool translucent = false;
    for (int r = 0; r < texture->height; ++r) { // bounded by the image size
        const unsigned char* from = texture->pixels + size_t(r) * imageRow;
        std::memcpy(padded + size_t(r) * paddedRow, from, imageRow);
        for (size_t a = 3; a < imageRow && !translucent; a += 4)
            translucent = from[a] < 255;
    }
    texture->paddedWidth = pw;
    texture->paddedHeight = ph;

    const float uMax = float(texture->width - 1) / float(pw);
    const float vMax = float(texture->height - 1) / float(ph);
    const float u[4] = {0.0f, 0.0f, uMax, uMax};
    const float v[4] = {0.0f, vMax, vMax, 0.0f};
    std::memcpy(texture->u, u, sizeof u);
    std::memcpy(texture->v, v, sizeof v);

    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    GLint format = translucent ? GL_RGBA : GL_RGB;
    if (registry.compression)
        format = translucent ? GL_COMPRESSED_RGBA : GL_COMPRESSED_RGB;
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, format, pw, ph, 0, GL_RGBA, GL_UNSIGNED_BYTE, padded);
    glPopClientAttrib();
    std::free(padded);
    texture->name = name;
    return name != 0;
}

} // namespace

bool glHasExtension(const char* name)
{
    return extensionListHas(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

int txImageBytes(int width, int height)
{
    int bytes = 0;
    if (width < 1 || height < 1 || __builtin_mul_overflow(width, height, &bytes) ||
        __builtin_mul_overflow(bytes, 4, &bytes))
        return -1;
    return bytes;
}

int createTex2(int width, int height, const unsigned char* rgb, unsigned int* texture, unsigned int* list)
{
    if (rgb == nullptr || texture == nullptr || list == nullptr)
        return -1;
    if (!getGlContext())
        return -3;
    GLint maxSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    if (maxSize <= 0)
        return -3;
    if (txImageBytes(width, height) < 0 || width > maxSize || height > maxSize)
        return -4;

    GLuint name = 0;
    glGenTextures(1, &name);
    if (name == 0)
        return -5;
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    // RGB rows of 3 bytes a pixel are packed, not aligned to 4.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    glPopClientAttrib();

    const GLuint drawList = glGenLists(1);
    if (drawList == 0) {
        glDeleteTextures(1, &name);
        return -5;
    }
    glNewList(drawList, GL_COMPILE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, name);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, float(height));
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(float(width), float(height));
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(float(width), 0.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glEndList();
    *texture = name;
    *list = drawList;
    return 0;
}

int txCreate(int width, int height, const unsigned char* rgba)
{
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    if (rgba == nullptr)
        return -1;
    const int bytes = txImageBytes(width, height);
    if (bytes < 0) {
        logMsg(1, "txCreate: image size %d x %d refused\n", width, height);
        return -1;
    }
    if (!setUp())
        return -1;
    auto* texture = static_cast<T_Texture*>(std::calloc(1, sizeof(T_Texture)));
    unsigned char* pixels = texture ? static_cast<unsigned char*>(std::malloc(size_t(bytes))) : nullptr;
    if (pixels == nullptr) {
        std::free(texture);
        logMsg(1, "txCreate: out of memory\n");
        return -1;
    }
    std::memcpy(pixels, rgba, size_t(bytes));
    texture->count = 1;
    texture->width = width;
    texture->height = height;
    texture->pixels = pixels;
    const int id = registry.nextId;
    if (mpiHashInsert(registry.table, unsigned(id), texture) != 0) {
        freeTexture(texture);
        return -1;
    }
    ++registry.nextId;
    createTexture(texture);
    return id;
}

int txCopy(int id)
{
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    T_Texture* texture = find(id);
    if (texture == nullptr)
        return -1;
    const int copy = registry.nextId;
    if (mpiHashInsert(registry.table, unsigned(copy), texture) != 0)
        return -1;
    ++registry.nextId;
    ++texture->count;
    return copy;
}

int txDelete(int id)
{
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    T_Texture* texture = find(id);
    if (texture == nullptr || mpiHashDelete(registry.table, unsigned(id)) != 0)
        return -1;
    if (--texture->count <= 0)
        freeTexture(texture);
    return 0;
}

const unsigned char* txData(int id)
{
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    const T_Texture* texture = find(id);
    return texture ? texture->pixels : nullptr;
}

const unsigned char* txImage(int id, int& width, int& height)
{
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    const T_Texture* texture = find(id);
    width = texture ? texture->width : 0;
    height = texture ? texture->height : 0;
    return texture ? texture->pixels : nullptr;
}

int txDraw(int id, const float x[4], const float y[4])
{
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    if (x == nullptr || y == nullptr)
        return -1;
    T_Texture* texture = find(id);
    if (texture == nullptr)
        return -1;
    // Made anew when missing or when the context no longer knows the name.
    if (texture->name == 0 || !glIsTexture(texture->name)) {
        texture->name = 0;
        texture->paddedWidth = texture->paddedHeight = 0;
        if (!createTexture(texture))
            return 0;
    }
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBindTexture(GL_TEXTURE_2D, texture->name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glPushMatrix();
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(texture->u[i], texture->v[i]);
        glVertex2f(x[i], y[i]);
    }
    glEnd();
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    return 0;
}
