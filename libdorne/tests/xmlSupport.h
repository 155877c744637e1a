// Shared by the XML view file tests and fuzz target: the byte strings the
// texts of a view may hold, and what a conforming XML 1.0 parser (libxml2,
// no network, no recovery) makes of a document the writer wrote.
#ifndef DORNE_TESTS_XML_SUPPORT_H
#define DORNE_TESTS_XML_SUPPORT_H

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <random>
#include <string>
#include <vector>

namespace xmlsupport {

// Byte strings a binary view file holds in its names and texts (any bytes
// but zero): Latin-1 and broken UTF-8 beside valid UTF-8, entities and what
// looks like them, control characters and the characters XML leaves out,
// the mark the writer sets before other texts, every byte, and random bytes.
inline std::vector<std::string> hostileTexts()
{
    std::vector<std::string> t = {
        "Ma\xDF", "\xC3&lt;", "&amp;lt;", "&#x41;", "&#65;", "&", "<>\"'&", "a]]>b", "\x01\x02\t\n\r\x1f\x7f",
        " spaced  twice ", "\r\n", "Ma\xC3\x9F", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xC3", "x\xC3", "\xC0\xAF",
        "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF\xFE", "\xE2\x82", "\xEF\xBB\xBF", "\xEF\xBB\xBFMa\xC3\x9F",
        "\xEF\xBB\xBFMa\xDF", "\xEF\xBB\xBF\xE2\x82\xAC", "\xC2\xA0\xC3\xBF", "a\x01" "b\x1f" "c", "\t\n\r",
        "\xE2\x82\xAC\x1b", "\xEF\xBF\xBE", "x\xEF\xBF\xBF", "\xEF\xBF\xBD\xEF\xB7\x90\xF0\x9F\xBF\xBE",
        "\xE2\x90\x81", "\xEF\xBB\xBF\xE2\x90\x81", "\xEF\xBB\xBF\x01",
    };
    std::string every;
    for (int c = 1; c < 256; ++c)
        every += char(c);
    for (size_t at = 0; at < every.size(); at += 63)
        t.push_back(every.substr(at, 63));
    std::mt19937 random(41);
    for (int i = 0; i < 300; ++i) {
        std::string text(1 + random() % 63, ' ');
        for (char& c : text)
            c = char(random() % 3 == 0 ? 0x80 + random() % 128 : 1 + random() % 255);
        t.push_back(text);
    }
    return t;
}

// A document as a conforming parser reads it: why it is not well-formed
// XML 1.0 (empty when it is), and each attribute in document order as
// "element attribute=value", the value after attribute-value normalisation.
struct ConformingRead
{
    std::string error;
    std::vector<std::string> attributes;
};

inline void collectAttributes(const xmlNode* node, std::vector<std::string>& out)
{
    for (; node != nullptr; node = node->next) {
        if (node->type != XML_ELEMENT_NODE)
            continue;
        for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
            xmlChar* value = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(a));
            out.push_back(std::string(reinterpret_cast<const char*>(node->name)) + " " +
                          reinterpret_cast<const char*>(a->name) + "=" +
                          (value != nullptr ? reinterpret_cast<const char*>(value) : ""));
            xmlFree(value);
        }
        collectAttributes(node->children, out);
    }
}

inline ConformingRead readConforming(const std::string& text)
{
    ConformingRead read;
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (context == nullptr) {
        read.error = "no parser context";
        return read;
    }
    xmlDocPtr doc = xmlCtxtReadMemory(context, text.data(), int(text.size()), "view.xml", nullptr,
                                      XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    if (doc == nullptr || context->wellFormed == 0) {
        const xmlError* e = xmlCtxtGetLastError(context);
        read.error = e != nullptr && e->message != nullptr
                         ? "line " + std::to_string(e->line) + ": " + e->message
                         : std::string("not well-formed");
    } else {
        collectAttributes(xmlDocGetRootElement(doc), read.attributes);
    }
    xmlFreeDoc(doc);
    xmlFreeParserCtxt(context);
    return read;
}

} // namespace xmlsupport

#endif
