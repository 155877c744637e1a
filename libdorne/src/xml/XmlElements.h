// The element and action records of the XML view file's "geometry"
// section: one record per element (a group's record holds its children's),
// each with its "action" children. Positions are written relative to the
// groups around a record and read back by adding their translations.
#ifndef DORNE_XML_ELEMENTS_H
#define DORNE_XML_ELEMENTS_H

#include "xml/ViewXml.h"

namespace dorne {

// The creation functions the readers call, replaceable so that a test can
// make one fail. Each returns null when memory runs out (logged); texture
// is loadTextureFromData.
struct XmlFactory
{
    ELEMENT_STRUCT* (*element)(int kind);
    ACTION_STRUCT* (*action)();
    TH_STRUCT* (*th)();
    COORD_STRUCT* (*coord)();
    int (*texture)(const unsigned char* rgba, IMAGE_STRUCT* image);
};
extern XmlFactory xmlFactory;

// Writes one "action" element per action of the list into node.
void actionSaveXml(const ACTION_STRUCT* first, XmlElement* node);
// Appends one action per "action" child of node to *list, numbered 0, 1,
// 2 ... in document order. False, logged, when an action or threshold
// entry cannot be made; what was appended stays in the list.
bool actionLoadXml(XmlElement& node, ACTION_STRUCT** list, const DefinitionReader& definitions);

// Where a reader links what it makes: behind last of *head, with parent as
// the element's group (null at top level).
struct ElementSink
{
    ELEMENT_STRUCT** head;
    ELEMENT_STRUCT*& last;
    ELEMENT_STRUCT* parent;

    void add(ELEMENT_STRUCT* element);
};

// Writes the record of the element (a group's with its children) and its
// actions as the last child of parent. Kinds the format has no record for
// (9, SLIDER, above SCISSOR) and elements without their kind record are
// left out with a level-2 message.
void elementSaveXml(ELEMENT_STRUCT* element, XmlElement* parent, XmlWriteState& state);
// Reads one record into sink; a name that is no keyword makes nothing.
// False, logged, when an element, action, threshold entry, vertex or
// texture cannot be made, or groups nest deeper than kMaxGroupDepth; what
// was made stays linked for the list's owner to free.
bool elementLoadXml(XmlElement& node, ElementSink& sink, XmlReadState& state);

// ---- Shared by the kinds' readers and writers --------------------------------

// Copies at most 63 bytes and a zero into a field of 64 bytes or more. A
// cut never splits a UTF-8 character.
void copyName(char* field, const std::string& text);
std::string fieldText(const char* field, size_t size);
// Creates the element of the kind, links it into sink and names it from
// "name". Null (logged) when it cannot be made.
ELEMENT_STRUCT* createRecordElement(XmlElement& node, int kind, ElementSink& sink);
// Update hook, then the actions.
bool finishRecord(XmlElement& node, ELEMENT_STRUCT* e, XmlReadState& state);
// Appends record to parent and writes the element's actions into it.
void appendRecord(XmlElement& record, XmlElement* parent, const ELEMENT_STRUCT* e);

// Four corners (minus the offset) as "x", "y", "width", "height" and
// "matrix", and back (plus the offset).
void writeCorners(XmlElement& record, const float* cornerX, const float* cornerY, const XmlWriteState& state);
void readCorners(XmlElement& record, float* cornerX, float* cornerY, const XmlReadState& state);

Color colorOf(float r, float g, float b, float a);
void setColor(const Color& color, float* rgba);
// The 2x2 matrix m11 m12 m21 m22 as an attribute with translation 0, and
// the 2x2 part of an attribute.
Matrix2<double> matrixOf(const float* m);
void readMatrix(XmlElement& record, float* m);

// The style code of a font definition: 1 regular, 2 bold, 4 italic, 8 both.
int fontStyle(const VFont& font);

// The GRAPH, TEXT and BUTTON records (XmlGraph.cpp, XmlText.cpp).
void graphSaveXml(const ELEMENT_STRUCT* e, XmlElement& record, const XmlWriteState& state);
void graphLoadXml(XmlElement& record, ELEMENT_STRUCT* e, const XmlReadState& state);
void textSaveXml(const ELEMENT_STRUCT* e, XmlElement& record, const XmlWriteState& state);
void textLoadXml(XmlElement& record, ELEMENT_STRUCT* e, const XmlReadState& state);
void buttonSaveXml(const ELEMENT_STRUCT* e, XmlElement& record, const XmlWriteState& state);
void buttonLoadXml(XmlElement& record, ELEMENT_STRUCT* e, const XmlReadState& state);

} // namespace dorne

#endif
