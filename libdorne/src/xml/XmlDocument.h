// The XML view file's document and element wrappers over TinyXML 2.6, and
// the attribute codecs every record of the format goes through: how texts,
// colours, matrices, position codes, switches, integers, hexadecimal words
// and decimal numbers are spelled, and what a reader gets when an attribute
// is missing. Nothing here throws but std::bad_alloc.
#ifndef DORNE_XML_DOCUMENT_H
#define DORNE_XML_DOCUMENT_H

#include "xml/Color.h"
#include "xml/Matrix2.h"

#include <cstdio>
#include <memory>
#include <string>
#include <tinyxml.h>

namespace dorne {

// One element of a document, or a new element not yet linked into one.
// Copies refer to the same node.
class XmlElement
{
public:
    // A new empty element, the caller's until appended to a document or an
    // element. When the last wrapper of an element that was never appended
    // goes, the element goes with it.
    explicit XmlElement(const std::string& name);
    // Refers to an existing node (what root, firstElement and nextElement
    // give); null makes a wrapper that is not valid.
    explicit XmlElement(TiXmlElement* node) : node_(node) {}

    // Check before any other use of a wrapper from root, firstElement or
    // nextElement; the other operations assume a node.
    bool valid() const { return node_ != nullptr; }
    TiXmlElement* data() const { return node_; }
    std::string name() const { return node_->ValueStr(); }

    XmlElement firstElement() const { return XmlElement(node_->FirstChildElement()); }
    XmlElement nextElement() const { return XmlElement(node_->NextSiblingElement()); }

    // Links child as the last child of this element, which owns it from
    // then on. child must be a new element (made from a name) or a copy of
    // one.
    void appendElement(XmlElement& child);

    // Whether the element has the attribute, whatever its value.
    bool hasAttribute(const std::string& name) const;

    // Decoders; a missing attribute gives the kind's default: empty text,
    // 0, 0.0, false, opaque white, the identity, 9 (center).
    // The bytes setAttributeString was given (see there); a text an older
    // writer wrote as it is.
    std::string getAttributeString(const std::string& name) const;
    // strtol base 0 ("0x" hexadecimal, leading "0" octal), cut to 32 bits;
    // text that is no number gives 0.
    int getAttributeInt(const std::string& name) const;
    // sscanf "%lf"; text that is no number gives 0.
    double getAttributeDouble(const std::string& name) const;
    // true only for exactly "true".
    bool getAttributeBool(const std::string& name) const;
    // "none": white with the none flag; "#rrggbbaa" by pairs of hexadecimal
    // digits (fewer than 7 characters read as missing).
    Color getAttributeColor(const std::string& name) const;
    // "a b c d e f" into (0,0), (1,0), (0,1), (1,1), (0,2), (1,2); numbers
    // missing at the end read as 0.
    Matrix2<double> getAttributeMatrix(const std::string& name) const;
    // The position keyword's code 1 to 9; unknown text gives 9.
    int getAttributePosition(const std::string& name) const;

    // Encoders. An attribute set again keeps its place; a new one goes
    // behind the others.
    // Any bytes, always as well-formed XML 1.0: valid UTF-8 of characters
    // XML allows as it is; any other text (and a valid one beginning with
    // U+FEFF) behind a U+FEFF, bytes from 0x80 as Latin-1 in UTF-8 and the
    // control bytes XML forbids as U+2400 + byte, which getAttributeString
    // turns back into the bytes.
    void setAttributeString(const std::string& name, const std::string& value);
    void setAttributeInt(const std::string& name, int value);
    // "0x%x" of the 32-bit word.
    void setAttributeHex(const std::string& name, int value);
    // Six significant digits, fixed or exponent form, whichever is shorter.
    void setAttributeDouble(const std::string& name, double value);
    void setAttributeBool(const std::string& name, bool value);
    // "none", or "#%02x%02x%02x%02x" of 255 x each component truncated.
    void setAttributeColor(const std::string& name, const Color& value);
    // "%f %f %f %f %f %f" of (0,0), (1,0), (0,1), (1,1), (0,2), (1,2).
    void setAttributeMatrix(const std::string& name, const Matrix2<double>& value);
    // The keyword of code 1 to 8; any other code is written "center".
    void setAttributePosition(const std::string& name, int value);

private:
    friend class XmlDocument;

    // The claim on a new element until it is appended: shared by the
    // wrapper made from a name and its copies.
    struct Pending;

    // A parent owns the node now.
    void adopted();

    TiXmlElement* node_ = nullptr;
    std::shared_ptr<Pending> pending_;
};

// A document: the XML declaration (version "1.0", no encoding, no
// standalone) and what is appended behind it. Owns every element linked
// into it.
class XmlDocument
{
public:
    XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Loads and parses the file (encoding left to TinyXML); true when parsed.
    bool read(const std::string& path);
    // Parses text as a whole file is parsed (its line ends are made "\n"
    // first, in place); what the document held before is dropped. True when
    // parsed.
    bool parse(std::string& text);
    // Saves the whole document to the path; true on success.
    bool write(const std::string& path);
    // Prints the whole document into the stream; false when the stream
    // holds a write error afterwards.
    bool write(FILE* file);
    // Why the last read or parse failed ("<description> at line l, column c").
    std::string errorText() const;

    // The first element of the document (not valid when there is none).
    XmlElement root();
    // Links the element as the last child of the document, which owns it
    // from then on.
    void appendElement(XmlElement& element);

private:
    TiXmlDocument doc_;
};

// Doubles read from a file on their way into float and int fields: a value
// that is not finite gives 0, one beyond the type's range its nearest end.
float checkedFloat(double value);
int checkedInt(double value);

} // namespace dorne

#endif
