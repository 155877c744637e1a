// The font library's state, its set-up and release, and the building of the
// catalogue from the built-in fonts and the font folders.
#include "sartoInternal.h"
#include "sartoPlatform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

FNT_STRUCT FNT_LIBRARY_STRUCT;

namespace {

const char kNotInitialised[] = "Font Library not initialized !\n";

// Files whose name has exactly "ttf" or "TTF" after its last dot.
bool isFontFileName(const char* name)
{
    const char* dot = std::strrchr(name, '.');
    if (dot == nullptr)
        return false;
    const std::string_view suffix(dot + 1);
    return suffix == "ttf" || suffix == "TTF";
}

// A face's style code from FreeType's style flags.
int styleCode(const FT_Face face)
{
    const bool italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    const bool bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    if (italic && bold)
        return FNT_STYLE_BOLD_ITALIC;
    if (italic)
        return FNT_STYLE_ITALIC;
    if (bold)
        return FNT_STYLE_BOLD;
    return FNT_STYLE_REGULAR;
}

// A source node (style or size) for one face: built-in data or a file.
FNT_DATA_STRUCT* createSource(int buildin, const char* path, const unsigned char* data, int dataSize)
{
    FNT_DATA_STRUCT* node = ftDataCreate(FNT_TYPE_SOURCE);
    FNT_SOURCE* source = ftiSource(node);
    if (source == nullptr) {
        ftDataDel(node);
        return nullptr;
    }
    source->buildin = buildin;
    if (buildin) {
        source->data = data;
        source->dataSize = dataSize;
    } else if (path != nullptr) {
        std::snprintf(source->path, sizeof source->path, "%s", path);
    }
    return node;
}

// Whether a style node already lists a strike of that size.
bool hasSize(const FNT_DATA_STRUCT* style, int size)
{
    for (const FNT_DATA_STRUCT* node = style->child; node != nullptr; node = node->next) {
        const FNT_SOURCE* source = ftiSource(node);
        if (source != nullptr && source->size == size)
            return true;
    }
    return false;
}

void enterFile(FNT_STRUCT* state, const char* folder, const char* name)
{
    char path[1024];
    const int length = std::snprintf(path, sizeof path, "%s/%s", folder, name);
    // A path that its record cannot hold whole is never opened in a cut form.
    if (length < 0 || length >= FNT_FILE_PATH_SIZE) {
        ftiMsg(FTI_WARNING, "font file skipped, its path of %d characters is too long: <%s>\n", length, name);
        return;
    }
    // Skipped like any file FreeType cannot open: what is not a regular file.
    FT_Face face = nullptr;
    if (ftiOpenFileFace(state->freetype, path, &face) != 0)
        return;
    if (ftiLibraryAddFont(state, face, 0, path, nullptr, 0) != 0)
        ftiMsg(FTI_ERROR, "ftLibraryParseFonts: out of memory !\n");
    FT_Done_Face(face);
}

} // namespace

void ftiAddBuildin(FNT_STRUCT* state, const unsigned char* data, int size)
{
    const int index = state->buildinCount;
    if (index < 0 || index >= FNT_BUILDIN_TABLE)
        return;
    state->buildin[index].data = data;
    state->buildin[index].size = size;
    if (index < FNT_BUILDIN_MAX)
        state->buildinCount = index + 1;
}

int ftLibraryInit(void)
{
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (state->initialised)
        return 0;
    FT_Library freetype = nullptr;
    if (FT_Init_FreeType(&freetype) != 0) {
        // Not initialised: later calls report that instead of using no handle.
        ftiMsg(FTI_ERROR, "init freetype failed !\n");
        return -8;
    }
    state->initialised = 1;
    state->freetype = freetype;
    FT_Int major = 0, minor = 0, patch = 0;
    FT_Library_Version(freetype, &major, &minor, &patch);
    ftiMsg(FTI_INFO, "FreeType Version %d.%d.%d\n", major, minor, patch);
    std::memset(&state->paths, 0, sizeof state->paths);
    std::memset(&state->families, 0, sizeof state->families);
    std::memset(&state->fonts, 0, sizeof state->fonts);
    state->buildinCount = 0;
    ftiRegisterBuildins(state);
    return 1;
}

int ftLibraryAddPath(const char* path)
{
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (!state->initialised) {
        ftiMsg(FTI_ERROR, "%s", kNotInitialised);
        return -8;
    }
    if (path == nullptr) {
        ftiMsg(FTI_ERROR, "ftLibraryAddPath: path = NULL !\n");
        return -1;
    }
    // A folder path is listed only as given, never cut.
    const size_t length = std::strlen(path);
    if (length >= FNT_PATH_SIZE) {
        ftiMsg(FTI_ERROR, "ftLibraryAddPath: path of %zu characters too long !\n", length);
        return -1;
    }
    FNT_DATA_STRUCT* node = ftDataCreate(FNT_TYPE_PATH);
    if (node == nullptr || node->data == nullptr) {
        ftDataDel(node);
        ftiMsg(FTI_ERROR, "ftLibraryAddPath: out of memory !\n");
        return -1;
    }
    std::memcpy(node->data, path, length + 1);
    ftDataAppend(&state->paths, node);
    return 0;
}

int ftLibraryParseFonts(void)
{
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (!state->initialised) {
        ftiMsg(FTI_ERROR, "%s", kNotInitialised);
        return -8;
    }
    // The table is exported data: its count is bounded by the table here.
    const int count = state->buildinCount < FNT_BUILDIN_TABLE ? state->buildinCount : FNT_BUILDIN_TABLE;
    for (int i = 0; i < count; ++i) {
        const FNT_BUILDIN& item = state->buildin[i];
        if (item.data == nullptr || item.size <= 0)
            continue;
        FT_Face face = nullptr;
        if (FT_New_Memory_Face(state->freetype, item.data, item.size, 0, &face) != 0)
            continue;
        if (ftiLibraryAddFont(state, face, 1, nullptr, item.data, item.size) != 0)
            ftiMsg(FTI_ERROR, "ftLibraryParseFonts: out of memory !\n");
        FT_Done_Face(face);
    }
    for (const FNT_DATA_STRUCT* folder = state->paths.child; folder != nullptr; folder = folder->next) {
        if (folder->data == nullptr || folder->len != FNT_PATH_SIZE)
            continue;
        const char* path = static_cast<const char*>(folder->data);
        API_DIR* dir = ftApiOpenDir(path);
        if (dir == nullptr)
            continue;
        API_FILE entry;
        while (ftApiReadDir(dir, &entry)) {
            if (isFontFileName(entry.name))
                enterFile(state, path, entry.name);
        }
        ftApiCloseDir(dir);
    }
    ftiSortFamily(state);
    return 0;
}

int ftiLibraryAddFont(FNT_STRUCT* state, FT_Face face, int buildin, const char* path,
                      const unsigned char* data, int dataSize)
{
    if (face == nullptr || face->family_name == nullptr)
        return 0;
    const char* familyName = buildin ? ftiBuildinFamily(data) : nullptr;
    if (familyName == nullptr)
        familyName = face->family_name;
    const int scalable = FT_IS_SCALABLE(face) ? 1 : 0;
    const int fixed = FT_IS_FIXED_WIDTH(face) ? 1 : 0;
    // A bitmap face is sized by its first strike; one without strikes has no size.
    int size = 0;
    if (!scalable) {
        if (face->num_fixed_sizes <= 0 || face->available_sizes == nullptr)
            return 0;
        size = face->available_sizes[0].width;
    }
    char key[FNT_NAME_SIZE];
    if (!scalable)
        std::snprintf(key, sizeof key, "%s [fixed]", familyName);
    else if (fixed)
        std::snprintf(key, sizeof key, "%s [monospace]", familyName);
    else
        std::snprintf(key, sizeof key, "%s", familyName);
    const int style = styleCode(face);

    FNT_DATA_STRUCT* familyNode = ftiFindFamily(state, key);
    FNT_DATA_STRUCT* styleNode = nullptr;
    if (familyNode == nullptr) {
        familyNode = ftDataCreate(FNT_TYPE_FAMILY);
        FNT_FAMILY* family = ftiFamily(familyNode);
        styleNode = createSource(buildin, path, data, dataSize);
        if (family == nullptr || styleNode == nullptr) {
            ftDataDel(familyNode);
            ftDataDel(styleNode);
            return -1;
        }
        std::memcpy(family->name, key, sizeof key);
        family->scalable = scalable;
        family->fixed = fixed;
        family->styles = style;
        family->buildin = buildin;
        ftDataAppend(&state->families, familyNode);
        ftiSource(styleNode)->style = style;
        ftDataAppend(familyNode, styleNode);
        if (scalable)
            return 0;
    } else {
        FNT_FAMILY* family = ftiFamily(familyNode);
        // An outline face never joins strikes (nor the reverse), whatever its name.
        if (family->scalable != scalable)
            return 0;
        styleNode = ftiFindStyle(familyNode, style);
        if (styleNode == nullptr) {
            styleNode = createSource(buildin, path, data, dataSize);
            if (styleNode == nullptr)
                return -1;
            ftiSource(styleNode)->style = style;
            ftDataAppend(familyNode, styleNode);
            family->styles |= style;
            if (scalable)
                return 0;
        } else if (scalable || hasSize(styleNode, size)) {
            return 0; // the first source of a style or strike size wins
        }
    }

    FNT_DATA_STRUCT* sizeNode = createSource(buildin, path, data, dataSize);
    if (sizeNode == nullptr)
        return -1;
    ftiSource(sizeNode)->size = size;
    FNT_FAMILY* family = ftiFamily(familyNode);
    if (family->sizeCount < FNT_SIZE_LIST)
        family->sizes[family->sizeCount++] = static_cast<unsigned char>(size);
    ftDataAppend(styleNode, sizeNode);
    return 0;
}

void ftiSortFamily(FNT_STRUCT* state)
{
    // Bubble sort by exchanging neighbours: every pass moves at least one
    // family towards its place, so at most one pass per family plus one.
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        FNT_DATA_STRUCT* node = state->families.child;
        while (node != nullptr && node->next != nullptr) {
            const FNT_FAMILY* a = ftiFamily(node);
            const FNT_FAMILY* b = ftiFamily(node->next);
            if (a != nullptr && b != nullptr && std::strcmp(a->name, b->name) > 0) {
                ftDataSwap(node, node->next); // node moved one place on
                exchanged = true;
            } else {
                node = node->next;
            }
        }
    }
}

int ftLibraryFree(void)
{
    FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (!state->initialised) {
        ftiMsg(FTI_ERROR, "%s", kNotInitialised);
        return -8;
    }
    state->initialised = 0;
    ftiDataDelChildren(&state->paths);
    ftiDataDelChildren(&state->families);
    // Textures and lists go first, and every handle with them.
    ftiReleaseFonts(state);
    ftiDataDelChildren(&state->fonts);
    // No face stays open past a call, so FreeType can go; the next
    // ftLibraryInit starts a new one.
    FT_Done_FreeType(state->freetype);
    state->freetype = nullptr;
    return 0;
}

int ftFree(void* memory)
{
    if (memory == nullptr)
        return -1;
    std::free(memory);
    return 0;
}
