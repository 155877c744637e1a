// Queries of the catalogue of families, styles and sizes.
#include "sartoInternal.h"

#include <cstdlib>
#include <cstring>

FNT_DATA_STRUCT* ftiFindFamily(const FNT_STRUCT* state, const char* name)
{
    if (name == nullptr)
        return nullptr;
    for (FNT_DATA_STRUCT* node = state->families.child; node != nullptr; node = node->next) {
        const FNT_FAMILY* family = ftiFamily(node);
        if (family != nullptr && std::strncmp(family->name, name, sizeof family->name) == 0 &&
            std::strlen(name) < sizeof family->name)
            return node;
    }
    return nullptr;
}

FNT_DATA_STRUCT* ftiFindStyle(const FNT_DATA_STRUCT* family, int style)
{
    for (FNT_DATA_STRUCT* node = family->child; node != nullptr; node = node->next) {
        const FNT_SOURCE* source = ftiSource(node);
        if (source != nullptr && source->style == style)
            return node;
    }
    return nullptr;
}

int ftFamilyScalable(const char* family)
{
    if (family == nullptr) {
        ftiMsg(FTI_ERROR, "ftFamilyScalable: family = NULL !\n");
        return -20;
    }
    const FNT_FAMILY* record = ftiFamily(ftiFindFamily(&FNT_LIBRARY_STRUCT, family));
    return record != nullptr ? record->scalable : 0;
}

int ftFamilyGetStyles(const char* family)
{
    if (family == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontGetStyles: family = NULL !\n");
        return -20;
    }
    const FNT_DATA_STRUCT* node = ftiFindFamily(&FNT_LIBRARY_STRUCT, family);
    int styles = 0;
    for (const FNT_DATA_STRUCT* style = node != nullptr ? node->child : nullptr; style != nullptr; style = style->next) {
        const FNT_SOURCE* source = ftiSource(style);
        if (source != nullptr)
            styles |= source->style;
    }
    return styles;
}

int* ftFamilyGetSizes(const char* family, int style, int* count)
{
    if (family == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontGetStyles: family = NULL !\n");
        if (count != nullptr)
            *count = 0;
        return nullptr;
    }
    if (count == nullptr) {
        ftiMsg(FTI_ERROR, "ftFontGetStyles: count = NULL !\n");
        return nullptr;
    }
    *count = 0;
    const FNT_DATA_STRUCT* familyNode = ftiFindFamily(&FNT_LIBRARY_STRUCT, family);
    if (familyNode == nullptr)
        return nullptr;
    if (ftiFamily(familyNode)->scalable) {
        *count = -1;
        return nullptr;
    }
    const FNT_DATA_STRUCT* styleNode = ftiFindStyle(familyNode, style);
    if (styleNode == nullptr)
        return nullptr;
    int n = 0;
    for (const FNT_DATA_STRUCT* node = styleNode->child; node != nullptr; node = node->next)
        ++n;
    if (n == 0)
        return nullptr;
    int* sizes = static_cast<int*>(std::malloc(sizeof(int) * static_cast<size_t>(n)));
    if (sizes == nullptr)
        return nullptr;
    int i = 0;
    for (const FNT_DATA_STRUCT* node = styleNode->child; node != nullptr; node = node->next) {
        const FNT_SOURCE* source = ftiSource(node);
        sizes[i++] = source != nullptr ? source->size : 0;
    }
    *count = n;
    return sizes;
}

FNT_FONT_INFO* ftLibraryGetFonts(int* count)
{
    if (count == nullptr) {
        ftiMsg(FTI_ERROR, "ftLibraryGetFonts: ld = 0 !\n");
        return nullptr;
    }
    *count = 0;
    const FNT_STRUCT* state = &FNT_LIBRARY_STRUCT;
    if (!state->initialised) {
        ftiMsg(FTI_ERROR, "Font Library not initialized !\n");
        return nullptr;
    }
    int n = 0;
    for (const FNT_DATA_STRUCT* node = state->families.child; node != nullptr; node = node->next)
        ++n;
    // At least one record, so that an empty catalogue is not mistaken for a failure.
    auto* fonts = static_cast<FNT_FONT_INFO*>(std::calloc(n > 0 ? n : 1, sizeof(FNT_FONT_INFO)));
    if (fonts == nullptr) {
        ftiMsg(FTI_ERROR, "ftLibraryGetFonts: out of memory !\n");
        return nullptr;
    }
    int i = 0;
    for (const FNT_DATA_STRUCT* node = state->families.child; node != nullptr; node = node->next, ++i) {
        const FNT_FAMILY* family = ftiFamily(node);
        if (family == nullptr)
            continue;
        std::memcpy(fonts[i].name, family->name, sizeof fonts[i].name);
        fonts[i].name[sizeof fonts[i].name - 1] = '\0';
        fonts[i].styles = family->styles;
        fonts[i].fixed = family->fixed;
        fonts[i].scalable = family->scalable;
        fonts[i].buildin = family->buildin;
    }
    *count = n;
    return fonts;
}

FNT_DATA_STRUCT* ftiGetFont(FNT_STRUCT* state, const char* family, int style, int size)
{
    FNT_DATA_STRUCT* familyNode = ftiFindFamily(state, family);
    if (familyNode == nullptr) {
        familyNode = ftiFindFamily(state, "Arial");
        if (familyNode == nullptr)
            return nullptr;
        ftiMsg(FTI_WARNING, "Warning: font <%s> replaced by <%s>\n", family != nullptr ? family : "", "Arial");
    }
    FNT_DATA_STRUCT* styleNode = ftiFindStyle(familyNode, style);
    if (styleNode == nullptr) {
        styleNode = familyNode->child;
        const FNT_SOURCE* first = ftiSource(styleNode);
        if (first == nullptr)
            return nullptr;
        ftiMsg(FTI_WARNING, "Warning: style %d replaced by %d\n", style, first->style);
    }
    if (ftiFamily(familyNode)->scalable)
        return styleNode;
    // Nearest strike, the first of equal distances; 1000 and more never.
    FNT_DATA_STRUCT* best = nullptr;
    long long bestDistance = 1000;
    for (FNT_DATA_STRUCT* node = styleNode->child; node != nullptr; node = node->next) {
        const FNT_SOURCE* source = ftiSource(node);
        if (source == nullptr)
            continue;
        const long long distance = std::llabs(static_cast<long long>(size) - source->size);
        if (distance < bestDistance) {
            best = node;
            bestDistance = distance;
        }
    }
    return best;
}
