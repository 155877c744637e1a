// Inside the XML view file: the state of one save and of one load, and the
// data section's writer and reader. saveFileXml and loadFileXml
// (dorneFiles.h) frame the document: root "Nalvo2D", then "header",
// "editor", "data", "definition" and "geometry".
#ifndef DORNE_VIEW_XML_H
#define DORNE_VIEW_XML_H

#include "files/viewFile.h"
#include "xml/Definitions.h"
#include "xml/XmlDocument.h"

namespace dorne {

// What one save keeps while it runs.
struct XmlWriteState
{
    DefinitionWriter definitions;
    double wx = 0.0, wy = 0.0; // sum of the positions of the groups around a record
};

// What one load keeps while it runs.
struct XmlReadState
{
    DefinitionReader definitions;
    double wx = 0.0, wy = 0.0;
    int groups = 0; // groups around the record being read
};

// Source parameter counts above this refuse the file.
const int kMaxXmlParameters = 1024;

// Writes one "datasource" child into data for each source of the list.
void dataSaveXml(const DD_DATA_TYPE_STRUCT* sources, XmlElement* data);

// Reads the "datasource" children of data into out. False, logged at
// level 1 with the path, when a parameter count is above
// kMaxXmlParameters or memory runs out; what was read stays in out, which
// frees it.
bool dataLoadXml(XmlElement& data, ViewContent& out, const char* path);

// True when the elements of the XML text nest deeper than limit levels,
// counted without parsing it: every start tag that TinyXML could take for
// an element counts, so the count is never below the depth TinyXML would
// reach.
bool xmlNestsDeeper(const std::string& text, int limit);

} // namespace dorne

#endif
