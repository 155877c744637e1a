// The GRAPH, TEXT and TEXTURE bodies of the binary view file. A reader
// fills the kind record the element was created with; whatever it makes
// (a font, a texture) goes into the record at once, so that deleting the
// element releases it also when the read is refused later.
#include "files/viewFileBodies.h"
#include "files/viewFileFields.h"

#include "dorneTextures.h"
#include "elements/elementKinds.h"
#include "gl/textureRegistry.h"

#include <cstdlib>
#include <cstring>

namespace dorne {

namespace {

const int32_t kFontMarker = 7; // written before a graph's label font
const int32_t kMaxTextLength = 255;
const int32_t kImageNameBytes = 128;

// Revision 3.01 stores a fill pattern that its readers ignore.
bool keepsPattern(const ViewReader& in)
{
    return in.version >= 302;
}

} // namespace

void replaceFont(void*& font, const char* family, int style, int size)
{
    void* made = vdiFontCreate(family, style, size);
    vdiFontRelease(font);
    font = made;
}

// ---- GRAPH ----------------------------------------------------------------------

bool readGraphBody(ViewReader& in, ELEMENT_STRUCT* element)
{
    auto* g = static_cast<GRAPH_STRUCT*>(element->data);
    if (g == nullptr)
        return in.refuse("GRAPH element without its record");
    FieldReader r(in, "a GRAPH record");
    int32_t marker;
    r.i(g->type).f(g->x).f(g->y).f(g->width).f(g->height).f(g->ymin).f(g->ymax).f(g->xmin).f(g->xmax).f(g->rate);
    r.i(g->autoscale).f(g->minSpreadY).i(g->autoscaleX).f(g->minSpreadX).i(g->samples).i(g->bars);
    r.color(g->outlineColor).color(g->backgroundColor).f(g->outlineWidth);
    r.i(g->gridX).i(g->gridY).i(g->gridXAuto).i(g->gridYAuto);
    r.f(g->gridXSpace).f(g->gridYSpace).f(g->gridXRef).f(g->gridYRef).i(g->gridStyleIndex).color(g->gridColor);
    r.i(g->labelX).i(g->labelY).i(g->labelYR).i(g->tickX).i(g->tickY).i(g->tickYR).i(g->tickXAuto).i(g->tickYAuto);
    r.f(g->tickXSpace).f(g->tickYSpace).f(g->tickXRef).f(g->tickYRef).i(g->tickXSub).i(g->tickYSub);
    r.f(g->tickWidth).i(marker).text(g->family, int32_t(sizeof g->family)).i(g->style).i(g->size);
    if (!r.ok())
        return false;
    // Style 8 (bold italic) is a font-library style like 0 to 4.
    const bool styleKnown = (g->style >= 0 && g->style <= 4) || g->style == 8;
    if (g->size < 1 || g->size > 40 || !styleKnown || g->family[0] == '\0') {
        vdiCopyName(g->family, sizeof g->family, "Courier [fixed]");
        g->style = 1;
        g->size = 12;
    }
    replaceFont(g->font, g->family, g->style, g->size);
    r.i(g->labelFixX).i(g->labelFixY).f(g->labelXMin).f(g->labelXMax).f(g->labelYMin).f(g->labelYMax).skip(4);
    return r.ok();
}

bool writeGraphBody(FILE* file, const ELEMENT_STRUCT* element)
{
    const auto* g = static_cast<const GRAPH_STRUCT*>(element->data);
    if (g == nullptr)
        return false;
    FieldWriter w(file);
    w.i(g->type).f(g->x).f(g->y).f(g->width).f(g->height).f(g->ymin).f(g->ymax).f(g->xmin).f(g->xmax).f(g->rate);
    w.i(g->autoscale).f(g->minSpreadY).i(g->autoscaleX).f(g->minSpreadX).i(g->samples).i(g->bars);
    w.color(g->outlineColor).color(g->backgroundColor).f(g->outlineWidth);
    w.i(g->gridX).i(g->gridY).i(g->gridXAuto).i(g->gridYAuto);
    w.f(g->gridXSpace).f(g->gridYSpace).f(g->gridXRef).f(g->gridYRef).i(g->gridStyleIndex).color(g->gridColor);
    w.i(g->labelX).i(g->labelY).i(g->labelYR).i(g->tickX).i(g->tickY).i(g->tickYR).i(g->tickXAuto).i(g->tickYAuto);
    w.f(g->tickXSpace).f(g->tickYSpace).f(g->tickXRef).f(g->tickYRef).i(g->tickXSub).i(g->tickYSub);
    w.f(g->tickWidth).i(kFontMarker).text(g->family, int32_t(sizeof g->family)).i(g->style).i(g->size);
    w.i(g->labelFixX).i(g->labelFixY).f(g->labelXMin).f(g->labelXMax).f(g->labelYMin).f(g->labelYMax).zeros(4);
    return w.ok();
}

// ---- TEXT -----------------------------------------------------------------------

bool readTextBody(ViewReader& in, ELEMENT_STRUCT* element)
{
    auto* t = static_cast<TEXT_STRUCT*>(element->data);
    if (t == nullptr)
        return in.refuse("TEXT element without its record");
    FieldReader r(in, "a TEXT record");
    int32_t pattern, length;
    r.f(t->x).f(t->y).color(t->color).i(t->align).f(t->matrix[0]).f(t->matrix[1]).f(t->matrix[2]).f(t->matrix[3]);
    r.text(t->family, int32_t(sizeof t->family)).i(t->style).i(t->underline).i(t->size).i(t->displaySize);
    r.i(pattern).skip(5);
    if (!r.ok() || !in.readLength(length, 0, kMaxTextLength, "a TEXT record's text"))
        return false;
    if (keepsPattern(in))
        t->pattern = pattern;
    std::memset(t->text, 0, sizeof t->text); // nothing of the template stays behind
    if (!r.text(t->text, length + 1).ok())
        return false;
    replaceFont(t->font, t->family, t->style, t->size);
    t->scalable = vdiFontScalable(t->font);
    return true;
}

bool writeTextBody(FILE* file, const ELEMENT_STRUCT* element)
{
    const auto* t = static_cast<const TEXT_STRUCT*>(element->data);
    if (t == nullptr)
        return false;
    const int32_t length = int32_t(strnlen(t->text, kMaxTextLength));
    FieldWriter w(file);
    w.f(t->x).f(t->y).color(t->color).i(t->align).f(t->matrix[0]).f(t->matrix[1]).f(t->matrix[2]).f(t->matrix[3]);
    w.text(t->family, int32_t(sizeof t->family)).i(t->style).i(t->underline).i(t->size).i(t->displaySize);
    w.i(t->pattern).zeros(5).i(length).text(t->text, length + 1);
    return w.ok();
}

// ---- TEXTURE --------------------------------------------------------------------

bool readTextureBody(ViewReader& in, ELEMENT_STRUCT* element)
{
    auto* image = static_cast<IMAGE_STRUCT*>(element->data);
    if (image == nullptr)
        return in.refuse("TEXTURE element without its record");
    const char* what = "a TEXTURE record";
    FieldReader r(in, what);
    char name[kImageNameBytes];
    int32_t width, height, pattern;
    for (int k = 0; k < 4; ++k)
        r.f(image->cornerX[k]).f(image->cornerY[k]);
    r.color(image->color).skip(1).text(name, kImageNameBytes).skip(1).i(width).i(height).i(pattern).skip(3);
    if (!r.ok())
        return false;
    if (keepsPattern(in))
        image->pattern = pattern;
    return readTexturePixels(in, *image, width, height, 4);
}

bool readTexturePixels(ViewReader& in, IMAGE_STRUCT& image, int32_t width, int32_t height, int channels)
{
    if (width < 0 || height < 0)
        return in.refuse("TEXTURE size %d x %d out of range", width, height);
    if (int64_t(width) * height > in.remaining() / channels)
        return in.refuse("TEXTURE of %d x %d pixels runs past the end of the file", width, height);
    image.pixelWidth = width;
    image.pixelHeight = height;
    vdiTextureRelease(image.texture);
    image.texture = 0;
    if (width == 0 || height == 0) // stored without pixels
        return true;
    const int bytes = txImageBytes(width, height);
    if (bytes < 0)
        return in.refuse("TEXTURE size %d x %d too large", width, height);
    auto* pixels = static_cast<unsigned char*>(std::malloc(size_t(bytes)));
    if (pixels == nullptr)
        return in.refuse("out of memory for a TEXTURE of %d x %d pixels", width, height);
    // RGB goes to the end of the buffer and is spread to RGBA from the
    // front: pixel i is written over bytes that pixels below i held.
    const size_t count = size_t(bytes) / 4, stored = count * size_t(channels);
    unsigned char* block = pixels + (size_t(bytes) - stored);
    if (in.readUpTo(block, int64_t(stored)) != int64_t(stored)) {
        std::free(pixels);
        return in.refuse("unexpected end of file in a TEXTURE record");
    }
    if (channels == 3) {
        for (size_t i = 0; i < count; ++i) { // bounded by the image size
            const unsigned char red = block[3 * i], green = block[3 * i + 1], blue = block[3 * i + 2];
            pixels[4 * i] = red;
            pixels[4 * i + 1] = green;
            pixels[4 * i + 2] = blue;
            pixels[4 * i + 3] = 255;
        }
    }
    const int texture = txCreate(width, height, pixels);
    std::free(pixels);
    if (texture < 0)
        return in.refuse("cannot register a TEXTURE of %d x %d pixels", width, height);
    image.texture = texture;
    return true;
}

bool writeTextureBody(FILE* file, const ELEMENT_STRUCT* element)
{
    const auto* image = static_cast<const IMAGE_STRUCT*>(element->data);
    if (image == nullptr)
        return false;
    // Size and pixels of the one registered image; none is stored as 0 x 0.
    int width = 0, height = 0;
    const unsigned char* pixels = txImage(image->texture, width, height);
    const size_t bytes = pixels != nullptr ? size_t(width) * size_t(height) * 4 : 0;
    FieldWriter w(file);
    for (int k = 0; k < 4; ++k)
        w.f(image->cornerX[k]).f(image->cornerY[k]);
    w.color(image->color).i(0).text("", kImageNameBytes).i(0).i(width).i(height).i(image->pattern).zeros(3);
    return w.ok() && (bytes == 0 || std::fwrite(pixels, 1, bytes, file) == bytes);
}

} // namespace dorne
