#include "xml/Definitions.h"

#include "gl/textureRegistry.h"
#include "xml/Base64.h"

#include "dorneGl.h"
#include "dorneLog.h"

#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <zlib.h>

namespace dorne {

namespace {

const int kPatternBytes = 128;
// zlib's deflate cannot pack more than about 1032 bytes into one.
const int64_t kMaxInflation = 1032;

uint32_t strokeValue(int factor, unsigned short pattern)
{
    return (uint32_t(factor) << 16) | pattern;
}

std::string fixedText(const char* text, size_t capacity)
{
    return std::string(text, strnlen(text, capacity));
}

} // namespace

std::string VFont::id() const
{
    return std::to_string(kind) + " " + family + " " + std::to_string(size) + " " + (bold ? "1" : "0") + " " +
           (italic ? "1" : "0") + " " + (underline ? "1" : "0");
}

bool styleIsBold(int style)
{
    return style == 8 || (style & 2) != 0;
}

bool styleIsItalic(int style)
{
    return style == 8 || (style & 4) != 0;
}

Md5Hash getPatternHash(int index)
{
    static const std::array<Md5Hash, 60> table = [] {
        std::array<Md5Hash, 60> digests;
        Md5 md5;
        for (int i = 0; i < 60; ++i)
            digests[size_t(i)] = md5.getMd5(getPattern(i), kPatternBytes);
        return digests;
    }();
    return table[size_t(index >= 0 && index < 60 ? index : 0)];
}

// ---- Writer ------------------------------------------------------------------

int DefinitionWriter::newId(int* id)
{
    *id = uniquex++;
    return *id;
}

int DefinitionWriter::saveStroke(XmlElement* definition, int style, int factor, unsigned short pattern, int* id)
{
    if (style <= 9)
        getLineStipple(style, &factor, &pattern);
    const uint32_t key = strokeValue(factor, pattern);
    const auto found = mapLineStyle.find(key);
    if (found != mapLineStyle.end()) {
        *id = found->second;
        return 0;
    }
    mapLineStyle.emplace(key, newId(id));
    XmlElement stroke("stroke");
    stroke.setAttributeString("name", "StrokeName");
    stroke.setAttributeInt("id", *id);
    stroke.setAttributeInt("factor", factor);
    stroke.setAttributeHex("data", pattern);
    definition->appendElement(stroke);
    return 0;
}

int DefinitionWriter::savePattern(XmlElement* definition, int style, const unsigned char* pattern, int* id)
{
    const unsigned char* bytes = style < 65 ? getPattern(style) : pattern;
    const Md5Hash key = Md5().getMd5(bytes, kPatternBytes);
    const auto found = mapPatternStyle.find(key);
    if (found != mapPatternStyle.end()) {
        *id = found->second;
        return 0;
    }
    mapPatternStyle.emplace(key, newId(id));
    const Base64 base64;
    std::string text(size_t(base64.getSize(kPatternBytes)), '\0');
    base64.encode(bytes, &text[0], kPatternBytes, 0);
    XmlElement node("pattern");
    node.setAttributeString("name", "PatternName");
    node.setAttributeInt("id", *id);
    node.setAttributeString("data", text);
    definition->appendElement(node);
    return 0;
}

int DefinitionWriter::saveImage(XmlElement* definition, int width, int height, const unsigned char* pixels, int* id)
{
    const int64_t bytes = int64_t(width) * height * 4;
    if (width < 1 || height < 1 || pixels == nullptr || bytes > INT_MAX) {
        logMsg(1, "saveFileXml: cannot write a bitmap of %d x %d pixels\n", width, height);
        return -1;
    }
    const auto key = std::make_tuple(width, height, Md5().getMd5(pixels, unsigned(bytes)));
    const auto found = mapImage.find(key);
    if (found != mapImage.end()) {
        *id = found->second;
        return 0;
    }

    uLongf packedLength = compressBound(uLong(bytes));
    std::unique_ptr<unsigned char[]> packed(new (std::nothrow) unsigned char[packedLength]);
    if (packed == nullptr || compress(packed.get(), &packedLength, pixels, uLong(bytes)) != Z_OK) {
        logMsg(1, "saveFileXml: cannot compress a bitmap of %d x %d pixels\n", width, height);
        return -1;
    }
    const Base64 base64;
    const int textLength = packedLength <= uLongf(INT_MAX) ? base64.getSize(int(packedLength)) : -1;
    if (textLength < 0) {
        logMsg(1, "saveFileXml: cannot encode a bitmap of %d x %d pixels\n", width, height);
        return -1;
    }
    std::string text(size_t(textLength), '\0');
    base64.encode(packed.get(), &text[0], int(packedLength), 0);
    packed.reset();

    mapImage.emplace(key, newId(id));
    XmlElement node("bitmap");
    node.setAttributeString("name", "BitmapName");
    node.setAttributeInt("id", *id);
    node.setAttributeString("path", "BitmapPath");
    node.setAttributeInt("width", width);
    node.setAttributeInt("height", height);
    node.setAttributeString("compression", "zlib");
    node.setAttributeString("data", text);
    definition->appendElement(node);
    return 0;
}

namespace {

int saveFontDefinition(DefinitionWriter& writer, XmlElement* definition, const VFont& font, int* id)
{
    const std::string key = font.id();
    const auto found = writer.mapFont.find(key);
    if (found != writer.mapFont.end()) {
        *id = found->second;
        return 0;
    }
    *id = writer.uniquex++;
    writer.mapFont.emplace(key, *id);
    XmlElement node("font");
    node.setAttributeString("name", "FontName");
    node.setAttributeInt("id", *id);
    node.setAttributeString("type", "truetype");
    node.setAttributeString("family", font.family);
    node.setAttributeInt("size", font.size);
    node.setAttributeBool("bold", font.bold);
    node.setAttributeBool("italic", font.italic);
    node.setAttributeBool("underline", font.underline);
    definition->appendElement(node);
    return 0;
}

} // namespace

int DefinitionWriter::saveFont(XmlElement* definition, const GRAPH_STRUCT* graph, int* id)
{
    VFont font;
    font.kind = 0;
    font.family = fixedText(graph->family, sizeof graph->family);
    font.size = graph->size;
    font.bold = styleIsBold(graph->style);
    font.italic = styleIsItalic(graph->style);
    return saveFontDefinition(*this, definition, font, id);
}

int DefinitionWriter::saveFont(XmlElement* definition, const TEXT_STRUCT* text, int* id)
{
    VFont font;
    font.kind = text->fontKind;
    font.family = fixedText(text->family, sizeof text->family);
    font.size = text->size;
    font.bold = styleIsBold(text->style);
    font.italic = styleIsItalic(text->style);
    font.underline = text->underline != 0;
    return saveFontDefinition(*this, definition, font, id);
}

void DefinitionWriter::elementDefinitions(ELEMENT_STRUCT* element, XmlElement* definition, int& result)
{
    if (element->kind == VD_GROUP) {
        for (ELEMENT_STRUCT* child = element->children; child != nullptr; child = child->next)
            elementDefinitions(child, definition, result);
    } else if (element->data != nullptr) {
        switch (element->kind) {
        case VD_GRAPH: {
            auto* g = static_cast<GRAPH_STRUCT*>(element->data);
            saveStroke(definition, g->gridStyleIndex, g->gridStippleFactor, g->gridStipplePattern, &g->gridStyle);
            saveFont(definition, g, &g->fontId);
            break;
        }
        case VD_RECTANGLE: {
            auto* r = static_cast<RECT_STRUCT*>(element->data);
            saveStroke(definition, r->lineStyle, r->stippleFactor, r->stipplePattern, &r->strokeStyle);
            savePattern(definition, r->pattern, r->patternBits, &r->fillStyle);
            break;
        }
        case VD_POLYGON:
        case VD_CPOLYGON: {
            auto* p = static_cast<POLY_STRUCT*>(element->data);
            saveStroke(definition, p->lineStyle, p->stippleFactor, p->stipplePattern, &p->strokeStyle);
            savePattern(definition, p->pattern, p->patternBits, &p->fillStyle);
            break;
        }
        case VD_CIRCLE:
        case VD_ARC: {
            auto* c = static_cast<CIRCLE_STRUCT*>(element->data);
            saveStroke(definition, c->lineStyle, c->stippleFactor, c->stipplePattern, &c->strokeStyle);
            savePattern(definition, c->pattern, c->patternBits, &c->fillStyle);
            break;
        }
        case VD_TEXT:
        case VD_TEXT_LEGACY: {
            auto* t = static_cast<TEXT_STRUCT*>(element->data);
            saveStroke(definition, t->lineStyle, t->stippleFactor, t->stipplePattern, &t->strokeStyle);
            savePattern(definition, t->pattern, t->patternBits, &t->fillStyle);
            saveFont(definition, t, &t->fontId);
            break;
        }
        case VD_LINE: {
            auto* l = static_cast<LINE_STRUCT*>(element->data);
            saveStroke(definition, l->lineStyle, l->stippleFactor, l->stipplePattern, &l->strokeStyle);
            break;
        }
        case VD_TEXTURE: {
            auto* image = static_cast<IMAGE_STRUCT*>(element->data);
            savePattern(definition, image->pattern, image->patternBits, &image->fillStyle);
            // An image without pixels gets no definition: its id -1 reads
            // back as a TEXTURE without texture.
            int width = 0, height = 0;
            const unsigned char* pixels = txImage(image->texture, width, height);
            if (pixels == nullptr)
                image->bitmap = -1;
            else if (saveImage(definition, width, height, pixels, &image->bitmap) != 0)
                result = -1;
            break;
        }
        default: // buttons, sliders and scissors refer to no definition
            break;
        }
    }
    for (ACTION_STRUCT* action = element->actions; action != nullptr; action = action->next)
        for (TH_STRUCT* th = action->thStyle.list; th != nullptr; th = th->next)
            saveStroke(definition, th->intValue, th->stippleFactor, th->stipplePattern, &th->strokeId);
}

int DefinitionWriter::definitionSaveXml(ELEMENT_STRUCT* element, XmlElement* definition)
{
    int result = 0;
    elementDefinitions(element, definition, result);
    return result;
}

// ---- Reader ------------------------------------------------------------------

void DefinitionReader::clear()
{
    mapStrokeStyle.clear();
    mapFillStyle.clear();
    mapImage.clear();
    mapFont.clear();
}

void DefinitionReader::loadBitmap(XmlElement& node)
{
    const int id = node.getAttributeInt("id");
    const int width = node.getAttributeInt("width");
    const int height = node.getAttributeInt("height");
    const bool zlib = node.getAttributeString("compression") == "zlib";
    const std::string* text = node.data()->Attribute(std::string("data"));
    const std::string empty;
    if (text == nullptr)
        text = &empty;
    // What is wrong with a bitmap shows before its pixels are allocated.
    if (width < 1 || width > kMaxBitmapSide || height < 1 || height > kMaxBitmapSide) {
        logMsg(2, "loadFileXml: bitmap %d of %d x %d pixels dropped: size out of range\n", id, width, height);
        return;
    }
    const int64_t bytes = int64_t(width) * height * 4;
    if (bytes > kMaxBitmapBytes || text->size() > size_t(INT_MAX)) {
        logMsg(2, "loadFileXml: bitmap %d of %d x %d pixels dropped: too large\n", id, width, height);
        return;
    }
    const Base64 base64;
    std::vector<unsigned char> decoded(text->size() / 4 * 3 + 3);
    const int decodedLength = base64.decode(text->data(), decoded.data(), int(text->size()));
    if (decodedLength < 0) {
        logMsg(2, "loadFileXml: bitmap %d dropped: its data is no Base64\n", id);
        return;
    }
    if (bytes > (zlib ? kMaxInflation * decodedLength : int64_t(decodedLength))) {
        logMsg(2, "loadFileXml: bitmap %d of %d x %d pixels dropped: %d bytes of data cannot hold it\n", id, width,
               height, decodedLength);
        return;
    }
    Image image;
    image.width = width;
    image.height = height;
    if (zlib) {
        decoded.resize(size_t(decodedLength));
        decoded.shrink_to_fit();
        image.packed = std::move(decoded);
    } else {
        decoded.resize(size_t(bytes));
        image.pixels = std::move(decoded);
    }
    mapImage[id] = std::move(image);
}

const Image* DefinitionReader::image(int id)
{
    const auto found = mapImage.find(id);
    if (found == mapImage.end())
        return nullptr;
    Image& image = found->second;
    if (!image.pixels.empty()) // made: a bitmap has a pixel at least
        return &image;
    const int64_t bytes = int64_t(image.width) * image.height * 4;
    std::vector<unsigned char> pixels(static_cast<size_t>(bytes));
    uLongf length = uLongf(bytes);
    if (uncompress(pixels.data(), &length, image.packed.data(), uLong(image.packed.size())) != Z_OK ||
        length != uLongf(bytes)) {
        logMsg(2, "loadFileXml: bitmap %d of %d x %d pixels dropped: its data does not inflate to %lld bytes\n", id,
               image.width, image.height, (long long)bytes);
        mapImage.erase(found);
        return nullptr;
    }
    image.pixels = std::move(pixels);
    std::vector<unsigned char>().swap(image.packed);
    return &image;
}

int DefinitionReader::loadDefinition(XmlElement definition)
{
    mapStrokeStyle.clear();
    mapFillStyle.clear();
    mapImage.clear();
    for (XmlElement node = definition.firstElement(); node.valid(); node = node.nextElement()) {
        const std::string name = node.name();
        if (name == "stroke") {
            const int id = node.getAttributeInt("id");
            const int factor = node.getAttributeInt("factor");
            const int data = node.getAttributeInt("data");
            mapStrokeStyle[id] = strokeValue(factor, (unsigned short)(data & 0xffff));
        } else if (name == "pattern") {
            const int id = node.getAttributeInt("id");
            const std::string* text = node.data()->Attribute(std::string("data"));
            const Base64 base64;
            const size_t limit = size_t(base64.getSize(kPatternBytes)); // 172 characters: 129 bytes at most
            unsigned char decoded[132] = {};
            if (text != nullptr)
                base64.decode(text->data(), decoded, int(text->size() < limit ? text->size() : limit));
            FillPattern pattern;
            std::memcpy(pattern.bytes, decoded, sizeof pattern.bytes);
            mapFillStyle[id] = pattern;
        } else if (name == "bitmap") {
            loadBitmap(node);
        } else if (name == "font") {
            VFont font;
            const int id = node.getAttributeInt("id");
            font.kind = node.getAttributeString("type") == "truetype" ? 0 : 1;
            font.family = node.getAttributeString("family");
            font.size = node.getAttributeInt("size");
            font.bold = node.getAttributeBool("bold");
            font.italic = node.getAttributeBool("italic");
            font.underline = node.getAttributeBool("underline");
            mapFont[id] = font;
        }
    }
    return 0;
}

void DefinitionReader::calcStroke(int id, int* factor, unsigned short* pattern, int* style) const
{
    const auto found = mapStrokeStyle.find(id);
    const uint32_t value = found != mapStrokeStyle.end() ? found->second : 0;
    *factor = int(int32_t(value) >> 16);
    *pattern = (unsigned short)(value & 0xffff);
    *style = 100;
    for (int s = 0; s <= 9; ++s) {
        int f = 0;
        unsigned short p = 0;
        getLineStipple(s, &f, &p);
        if (f == *factor && p == *pattern)
            *style = s;
    }
}

void DefinitionReader::calcFill(int id, unsigned char* pattern, int* style) const
{
    const auto found = mapFillStyle.find(id);
    const FillPattern none;
    std::memcpy(pattern, (found != mapFillStyle.end() ? found->second : none).bytes, kPatternBytes);
    *style = 100;
    const Md5Hash digest = Md5().getMd5(pattern, kPatternBytes);
    for (int s = 0; s <= 60; ++s)
        if (getPatternHash(s) == digest)
            *style = s;
}

} // namespace dorne
