// The "definition" section of the XML view file: line stipples, fill
// patterns, bitmaps and fonts, each written once with an id that element
// and threshold records refer to. The writer numbers and deduplicates them
// and stores the ids into the records; the reader collects them into id
// maps and resolves stroke and pattern ids back into stipples, masks and
// built-in style numbers. One writer serves one save and one reader one
// load: nothing here is shared between calls.
#ifndef DORNE_XML_DEFINITIONS_H
#define DORNE_XML_DEFINITIONS_H

#include "xml/Md5.h"
#include "xml/XmlDocument.h"

#include "dorneElements.h"

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace dorne {

// 128 bytes of a 32 x 32 polygon stipple, zero when made.
struct FillPattern
{
    unsigned char bytes[128] = {};
};

// A bitmap definition: its RGBA pixels, width x height x 4 bytes, or until
// an element asks for them (DefinitionReader::image) the zlib data they
// inflate from.
struct Image
{
    std::vector<unsigned char> pixels;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> packed; // empty once inflated
};

// A font definition. id() is its key: kind, family, size, bold, italic and
// underline separated by blanks, the flags as 1 or 0.
struct VFont
{
    int kind = 0; // 0 for a graph's font and a "truetype" definition
    std::string family;
    int size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    std::string id() const;
};

// Bold and italic of a style code: 2 bold, 4 italic, 8 bold italic, and
// the bits 2 and 4 of any other code.
bool styleIsBold(int style);
bool styleIsItalic(int style);

// The MD5 of built-in fill pattern index; an index outside 0 to 59 is taken
// as 0. The 60 digests are computed once per process (thread-safe).
Md5Hash getPatternHash(int index);

// Bitmaps wider or higher than this, or of more pixel bytes than
// kMaxBitmapBytes, are not read.
const int kMaxBitmapSide = 16384;
const int64_t kMaxBitmapBytes = int64_t(256) << 20;

// Writes the definitions of one save.
class DefinitionWriter
{
public:
    // Writes the definitions the element (a group's children too) and its
    // actions' line-style thresholds refer to into definition and stores
    // their ids in the records. 0; -1 when a bitmap cannot be written
    // (logged).
    int definitionSaveXml(ELEMENT_STRUCT* element, XmlElement* definition);

    // Each writes its definition when it is new and stores its id through
    // id. 0; saveImage -1 when the pixels cannot be compressed or encoded
    // (logged, nothing written).
    int saveStroke(XmlElement* definition, int style, int factor, unsigned short pattern, int* id);
    int savePattern(XmlElement* definition, int style, const unsigned char* pattern, int* id);
    int saveImage(XmlElement* definition, int width, int height, const unsigned char* pixels, int* id);
    int saveFont(XmlElement* definition, const GRAPH_STRUCT* graph, int* id);
    int saveFont(XmlElement* definition, const TEXT_STRUCT* text, int* id);

    // The id the next new definition takes.
    int uniquex = 1;
    // Stroke value (factor << 16 | pattern) to id.
    std::map<uint32_t, int> mapLineStyle;
    // MD5 of the 128 pattern bytes to id.
    std::map<Md5Hash, int> mapPatternStyle;
    // Width, height and MD5 of the pixels to id: equal bytes in two shapes
    // are two bitmaps.
    std::map<std::tuple<int, int, Md5Hash>, int> mapImage;
    // VFont::id() to id.
    std::map<std::string, int> mapFont;

private:
    void elementDefinitions(ELEMENT_STRUCT* element, XmlElement* definition, int& result);
    int newId(int* id);
};

// Reads the definitions of one load.
class DefinitionReader
{
public:
    // Reads the children of a "definition" section into the maps, after
    // emptying the stroke, pattern and bitmap maps (the font map stays). A
    // bitmap that fails its checks is dropped (level-2 message); one of
    // zlib data is kept packed until image asks for it. 0.
    int loadDefinition(XmlElement definition);

    // The bitmap of the id with its pixels, inflated at the first call, so
    // that only the bitmaps elements use take their size in memory. Null
    // for an id without bitmap, and for one whose data does not inflate to
    // its size (dropped, level-2 message).
    const Image* image(int id);

    // The factor, pattern and line style (0 to 9, 100 for any other
    // stipple) of a stroke id; an id without definition gives 0, 0, 100.
    void calcStroke(int id, int* factor, unsigned short* pattern, int* style) const;
    // The 128 bytes and fill style (the last of 0 to 60 whose digest they
    // have, 100 for none) of a pattern id; an id without definition gives
    // zeros and 100.
    void calcFill(int id, unsigned char* pattern, int* style) const;

    // Drops every definition.
    void clear();

    std::map<int, uint32_t> mapStrokeStyle;
    std::map<int, FillPattern> mapFillStyle;
    std::map<int, Image> mapImage;
    std::map<int, VFont> mapFont;

private:
    void loadBitmap(XmlElement& node);
};

} // namespace dorne

#endif
