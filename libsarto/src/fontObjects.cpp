// Font objects: creation and sharing, the registry of live handles,
// measuring and release.
#include "sartoInternal.h"
#include "sartoPlatform.h"

#include <GL/gl.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace {

const char kNotInitialised[] = "Font Library not initialized !\n";

// The Latin-1 characters of slots 1..7.
const unsigned char kSlotLatin1[7] = {246, 214, 228, 196, 252, 220, 223};

// Handle values are numbers never given twice in a process, so a released
// or stale value can never name a live record, whatever a caller passes.
struct Registry
{
    std::unordered_map<intptr_t, FNT_FONT_HANDLE> live;
    intptr_t next = 1;
};

Registry& registry()
{
    // Built in place at the first use, which may come when memory has run
    // out: an empty map allocates nothing. Never destroyed: a caller's late
    // ftFontFree at exit still finds it.
    alignas(Registry) static unsigned char storage[sizeof(Registry)];
    static Registry* const r = new (storage) Registry;
    return *r;
}

// 0 when memory runs short.
intptr_t registerHandle(FNT_DATA_STRUCT* node, float scale)
{
    Registry& r = registry();
    try {
        const intptr_t value = r.next;
        r.live.emplace(value, FNT_FONT_HANDLE{FNT_FONT_MAGIC, node, scale});
        ++r.next;
        return value;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

void unregisterHandle(intptr_t value)
{
    registry().live.erase(value);
}

// What a function says when it checks a handle.
struct HandleChecks
{
    const char* nullText;      // null: no messages at all
    int nullType;              // FTI_ERROR or FTI_WARNING
    const char* wrongText;
};

const HandleChecks kRender{"ftFontRender: ft = 0 !\n", FTI_ERROR, "ftFontRender: wrong descriptor !\n"};
const HandleChecks kFree{"ftFontFree: ft = 0 !\n", FTI_ERROR, "ftFontFree: wrong descriptor !\n"};
const HandleChecks kScalable{"ftFontScalable: ft = 0 !\n", FTI_WARNING, "ftFontScalable: wrong descriptor !\n"};
const HandleChecks kQuiet{nullptr, 0, nullptr};

// The checks every handle function makes, in their order: initialised
// (-8), not null (-1), a live handle of a font object (-2). 0 and the
// record, or the code.
int checkHandle(intptr_t value, const HandleChecks& checks, FNT_FONT_HANDLE** handle, FNT_FONT** font)
{
    const bool say = checks.nullText != nullptr;
    if (!FNT_LIBRARY_STRUCT.initialised) {
        if (say)
            ftiMsg(FTI_ERROR, "%s", kNotInitialised);
        return -8;
    }
    if (value == 0) {
        if (say)
            ftiMsg(checks.nullType, "%s", checks.nullText);
        return -1;
    }
    FNT_FONT_HANDLE* record = ftiHandle(value);
    FNT_FONT* object = record != nullptr ? ftiFont(record->font) : nullptr;
    if (object == nullptr) {
        if (say)
            ftiMsg(FTI_ERROR, "%s", checks.wrongText);
        return -2;
    }
    *handle = record;
    *font = object;
    return 0;
}

// A width or height in pixels as an int, whatever the scale.
int toPixels(double value)
{
    if (!(value > INT_MIN))
        return value < 0 ? INT_MIN : 0; // NaN gives 0
    if (value >= INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

// Builds a font object's glyph tables, texture and lists from an open face.
// False with the object's OpenGL resources released.
bool buildFont(FNT_FONT* font, FT_Face face, int size)
{
    std::vector<FtiStrikeGlyph> glyphs;
    bool built = false;
    if (FT_IS_SCALABLE(face)) {
        if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(size), static_cast<FT_UInt>(size)) != 0)
            ftiMsg(FTI_ERROR, "ftFontCreate: FT_Set_Pixel_Sizes %d failed!\n", size);
        GLint maxTexture = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTexture);
        FtiAtlas atlas;
        if (maxTexture <= 0)
            ftiMsg(FTI_ERROR, "ftFontCreate: no texture size from OpenGL !\n");
        else if (ftiLayoutScalable(font, face, maxTexture, &atlas)) {
            font->texture = ftiCreateAlphaTexture(atlas.pixels.data(), atlas.width, atlas.height);
            if (font->texture == 0)
                ftiMsg(FTI_ERROR, "ftFontCreate: no texture for <%s> %d !\n", font->family, size);
            else
                built = ftiCompileLists(font, nullptr);
        }
    } else if (face->num_fixed_sizes > 0 && face->available_sizes != nullptr) {
        font->width = face->available_sizes[0].width;
        font->scalable = 0;
        // Without its strike no glyph of the face can be rendered.
        if (FT_Select_Size(face, 0) != 0)
            ftiMsg(FTI_ERROR, "ftFontCreate: FT_Select_Size failed!\n");
        else
            built = ftiLayoutBitmap(font, face, &glyphs) && ftiCompileLists(font, &glyphs);
    } else {
        ftiMsg(FTI_ERROR, "ftFontCreate: font <%s> has no strike !\n", font->family);
    }
    if (!built)
        ftiReleaseFontGl(font);
    return built;
}

intptr_t createFont(const char* family, int style, int size)
{
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (!state->initialised) {
        ftiMsg(FTI_ERROR, "ftFontCreate: Font Library not initialzed !\n");
        return 0;
    }
    const int64_t context = ftApiGetGlContext();
    if (context == 0) {
        ftiMsg(FTI_WARNING, "ftFontCreate: No valid GLX context !\n");
        return 0;
    }
    if (family == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontCreate: family = NULL !\n");
        return 0;
    }
    char name[FNT_NAME_SIZE];
    std::snprintf(name, sizeof name, "%s", family);
    const int requested = size;
    float scale = 1.0f;
    if (ftFamilyScalable(name) == 1) {
        size = ftiLadderSize(requested);
        scale = static_cast<float>(requested) / static_cast<float>(size);
    } else if (ftiFindFamily(state, name) == nullptr && (requested < 1 || requested > FTI_LADDER_TOP)) {
        // An unknown family is served by an outline font at the size asked;
        // beyond the ladder that would rasterise glyphs of any size.
        size = ftiLadderSize(requested);
        scale = static_cast<float>(requested) / static_cast<float>(size);
    }

    bool otherContext = false;
    for (FNT_DATA_STRUCT* node = state->fonts.child; node != nullptr; node = node->next) {
        FNT_FONT* font = ftiFont(node);
        if (font == nullptr || std::strcmp(font->family, name) != 0 || font->style != style || font->size != size)
            continue;
        if (font->context != context) {
            otherContext = true;
            continue;
        }
        const intptr_t handle = registerHandle(node, scale);
        if (handle == 0) {
            ftiMsg(FTI_ERROR, "ftFontCreate: out of memory !\n");
            return 0;
        }
        ++font->refCount;
        ftiMsg(FTI_INFO, "create existing font <%s> %d\n", name, size);
        return handle;
    }
    if (otherContext)
        ftiMsg(FTI_WARNING, "create existing font <%s> %d with new context !\n", name, size);
    else
        ftiMsg(FTI_INFO, "create new font <%s> %d\n", name, size);

    const FNT_SOURCE* source = ftiSource(ftiGetFont(state, name, style, size));
    if (source == nullptr) {
        ftiMsg(FTI_ERROR, "font <%s> %d not found !\n", name, size);
        return 0;
    }
    FtiFace face;
    if (ftiOpenFace(state, source, &face.face) != 0) {
        ftiMsg(FTI_ERROR, "ftFontCreate: could not open font <%s>!\n", source->path);
        return 0;
    }
    FNT_DATA_STRUCT* node = ftDataCreate(FNT_TYPE_FONT);
    FNT_FONT* font = ftiFont(node);
    if (font == nullptr) {
        ftDataDel(node);
        return 0;
    }
    std::memcpy(font->family, name, sizeof name);
    font->style = style;
    font->size = size;
    font->refCount = 1;
    font->context = context;
    if (!buildFont(font, face.face, size)) {
        ftDataDel(node);
        return 0;
    }
    const intptr_t handle = registerHandle(node, scale);
    if (handle == 0) {
        ftiMsg(FTI_ERROR, "ftFontCreate: out of memory !\n");
        ftiReleaseFontGl(font);
        ftDataDel(node);
        return 0;
    }
    ftDataAppend(&state->fonts, node);
    return handle;
}

} // namespace

int ftiSlotCode(int slot)
{
    if (slot < 0 || slot >= FNT_GLYPH_SLOTS)
        return -1;
    if (slot >= 1 && slot <= 7)
        return kSlotLatin1[slot - 1];
    return slot;
}

void convertString(char* text)
{
    if (text == nullptr)
        return;
    for (char* p = text; *p != '\0'; ++p) { // up to the text's end
        const auto c = static_cast<unsigned char>(*p);
        for (int i = 0; i < 7; ++i) {
            if (c == kSlotLatin1[i]) {
                *p = static_cast<char>(i + 1);
                break;
            }
        }
    }
}

int ftiLadderSize(int size)
{
    // Each step serves the sizes above the step before, up to itself.
    static const int kSteps[] = {11, 14, 17, 20, 25, 34, 50, 100};
    for (const int step : kSteps) {
        if (size <= step)
            return step;
    }
    return FTI_LADDER_TOP;
}

int ftiNextPower2(int value)
{
    for (int power = 1; power <= 2048; power *= 2) {
        if (power >= value)
            return power;
    }
    return 4096;
}

FNT_FONT* ftiFont(const FNT_DATA_STRUCT* node)
{
    if (node == nullptr || node->type != FNT_TYPE_FONT || node->len < static_cast<int>(sizeof(FNT_FONT)))
        return nullptr;
    return static_cast<FNT_FONT*>(node->data);
}

FNT_FONT_HANDLE* ftiHandle(intptr_t value)
{
    Registry& r = registry();
    const auto found = r.live.find(value);
    if (found == r.live.end() || found->second.magic != FNT_FONT_MAGIC)
        return nullptr;
    return &found->second;
}

namespace {

// A font file that FreeType reads through the descriptor checked to be a
// regular file, so that what is read is what was checked. FreeType closes
// the stream with its face; on a failed open the opener releases it unless
// FreeType already has.
struct FileStream
{
    FT_StreamRec stream;
    int fd;
    bool* closed; // set while the open is in progress
};

unsigned long readFileStream(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count)
{
    if (count == 0) // a seek: 0 when the place lies in the file
        return offset <= stream->size ? 0 : 1;
    const int fd = static_cast<int>(stream->descriptor.value);
    unsigned long done = 0;
    while (done < count) {
        const ssize_t n = pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break; // FreeType takes a short read as the error
        done += static_cast<unsigned long>(n);
    }
    return done;
}

void closeFileStream(FT_Stream stream)
{
    FileStream* file = reinterpret_cast<FileStream*>(stream);
    close(file->fd);
    if (file->closed != nullptr)
        *file->closed = true;
    delete file;
}

} // namespace

FT_Error ftiOpenFileFace(FT_Library freetype, const char* path, FT_Face* face)
{
    *face = nullptr;
    // Looked at before it is opened (a device is never opened), and again
    // through the descriptor (the name may have changed hands in between).
    struct stat st;
    if (path == nullptr || stat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return FT_Err_Cannot_Open_Resource;
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return FT_Err_Cannot_Open_Resource;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0 ||
        static_cast<unsigned long long>(st.st_size) > ULONG_MAX) {
        close(fd);
        return FT_Err_Cannot_Open_Resource;
    }
    auto* file = new (std::nothrow) FileStream{};
    if (file == nullptr) {
        close(fd);
        return FT_Err_Out_Of_Memory;
    }
    bool closed = false;
    file->fd = fd;
    file->closed = &closed;
    file->stream.size = static_cast<unsigned long>(st.st_size);
    file->stream.descriptor.value = fd;
    file->stream.read = readFileStream;
    file->stream.close = closeFileStream;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = &file->stream;
    const FT_Error error = FT_Open_Face(freetype, &args, 0, face);
    if (error == 0)
        file->closed = nullptr; // FreeType closes it with the face
    else if (!closed)
        closeFileStream(&file->stream);
    return error;
}

FT_Error ftiOpenFace(FNT_STRUCT* state, const FNT_SOURCE* source, FT_Face* face)
{
    if (source->buildin)
        return FT_New_Memory_Face(state->freetype, source->data, source->dataSize, 0, face);
    return ftiOpenFileFace(state->freetype, source->path, face);
}

void ftiReleaseFonts(FNT_STRUCT* state)
{
    for (FNT_DATA_STRUCT* node = state->fonts.child; node != nullptr; node = node->next) {
        if (FNT_FONT* font = ftiFont(node))
            ftiReleaseFontGl(font);
    }
    registry().live.clear();
}

intptr_t ftFontCreate(const char* family, int style, int size)
{
    try {
        return createFont(family, style, size);
    } catch (const std::bad_alloc&) {
        ftiMsg(FTI_ERROR, "ftFontCreate: out of memory !\n");
        return 0;
    }
}

int ftFontScalable(intptr_t ft)
{
    FNT_FONT_HANDLE* handle = nullptr;
    FNT_FONT* font = nullptr;
    const int checked = checkHandle(ft, kScalable, &handle, &font);
    return checked != 0 ? checked : font->scalable;
}

int ftFontStringMetric(intptr_t ft, char* text, int metric[2])
{
    if (metric == nullptr)
        return -1;
    metric[0] = metric[1] = 0;
    FNT_FONT_HANDLE* handle = nullptr;
    FNT_FONT* font = nullptr;
    const int checked = checkHandle(ft, kQuiet, &handle, &font);
    if (checked != 0)
        return checked;
    if (text == nullptr)
        return -1;
    convertString(text);
    long long width = 0;
    for (const char* p = text; *p != '\0'; ++p) { // up to the text's end
        const auto c = static_cast<unsigned char>(*p);
        if (c < FNT_GLYPH_SLOTS)
            width += font->advance[c];
    }
    if (font->scalable) {
        metric[0] = toPixels(static_cast<double>(width) * handle->scale);
        metric[1] = toPixels(static_cast<double>(font->cellHeight) * handle->scale);
    } else {
        metric[0] = toPixels(static_cast<double>(width));
        metric[1] = font->cellHeight;
    }
    return 0;
}

int ftFontFree(intptr_t ft)
{
    FNT_FONT_HANDLE* handle = nullptr;
    FNT_FONT* font = nullptr;
    const int checked = checkHandle(ft, kFree, &handle, &font);
    if (checked != 0)
        return checked;
    const int64_t context = ftApiGetGlContext();
    if (context == 0)
        return -4;
    FNT_DATA_STRUCT* node = handle->font;
    handle->magic = 0;
    unregisterHandle(ft);
    if (font->context != context)
        return -4;
    if (--font->refCount > 0) {
        ftiMsg(FTI_INFO, "delete reference <%s> %d ref = %d\n", font->family, font->size, font->refCount);
        return 0;
    }
    ftiReleaseFontGl(font);
    ftiMsg(FTI_INFO, "delete Font <%s> %d\n", font->family, font->size);
    ftDataDel(node);
    return 0;
}

int ftiCheckDrawHandle(intptr_t ft, FNT_FONT_HANDLE** handle, FNT_FONT** font)
{
    const int checked = checkHandle(ft, kRender, handle, font);
    if (checked != 0)
        return checked;
    if (ftApiGetGlContext() == 0) {
        ftiMsg(FTI_ERROR, "ftFontRender: No valid GLX context !\n");
        return -4;
    }
    return 0;
}
