// The XML view file's document: the frame that saveFileXml writes and
// loadFileXml reads (root, header, editor, data, definition, geometry), and
// the data section.
#include "xml/ViewXml.h"

#include "xml/XmlElements.h"

#include "base/libraryLock.h"
#include "files/fileAccess.h"

#include "dorneFiles.h"
#include "dorneLog.h"
#include "dornePlatform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace dorne {

namespace {

// Files larger than this are not read.
const int64_t kMaxXmlFileBytes = int64_t(256) << 20;
// Elements may nest this deep, the deepest the writer writes: root and
// geometry, groups kMaxGroupDepth deep, an element in the innermost, its
// action, threshold and threshold entry. TinyXML parses each level on the
// stack.
const int kMaxXmlDepth = 2 + kMaxGroupDepth + 1 + 3;
const int kMinParameters = 10; // slots a source or variable read gets at least
const int kGrowth = 12;        // bytes a variable parameter's buffer holds beyond its text

// The text of a parameter: what its buffer holds up to its zero.
std::string parameterText(const DD_PARA_STRUCT* para, int alloc, int index)
{
    if (index >= alloc || para == nullptr || para[index].text == nullptr || para[index].capacity < 1)
        return std::string();
    return std::string(para[index].text, strnlen(para[index].text, size_t(para[index].capacity)));
}

int parameterValue(const DD_PARA_STRUCT* para, int alloc, int index)
{
    return index < alloc && para != nullptr ? para[index].value : 0;
}

void writeParameter(XmlElement& parent, const char* name, int value, const std::string& text)
{
    XmlElement para(name);
    para.setAttributeInt("ivalue", value);
    para.setAttributeString("svalue", text);
    parent.appendElement(para);
}

// A parameter count from the file: 0 when negative; false above the limit.
bool readCount(XmlElement& node, const char* name, int& count, const char* path)
{
    count = node.getAttributeInt(name);
    if (count < 0)
        count = 0;
    if (count > kMaxXmlParameters) {
        logMsg(1, "loadFileXml: %s: \"%s\" %d is above %d\n", path, name, count, kMaxXmlParameters);
        return false;
    }
    return true;
}

// Whether groups in the list nest deeper than kMaxGroupDepth; depth counts
// the groups around it.
bool groupsNestTooDeep(const ELEMENT_STRUCT* list, int depth)
{
    for (const ELEMENT_STRUCT* e = list; e != nullptr; e = e->next)
        if (e->kind == VD_GROUP && (depth >= kMaxGroupDepth || groupsNestTooDeep(e->children, depth + 1)))
            return true;
    return false;
}

} // namespace

void dataSaveXml(const DD_DATA_TYPE_STRUCT* sources, XmlElement* data)
{
    for (const DD_DATA_TYPE_STRUCT* s = sources; s != nullptr; s = s->next) {
        const int d = s->dataOptionCount > 0 ? s->dataOptionCount : 0;
        const int v = s->varOptionCount > 0 ? s->varOptionCount : 0;
        XmlElement source("datasource");
        source.setAttributeString("name", "DatasourceName");
        source.setAttributeInt("id", s->type);
        source.setAttributeInt("nr-data-para", d);
        source.setAttributeInt("nr-var-para", v);
        for (int p = 0; p < d; ++p)
            writeParameter(source, "datasource-para", parameterValue(s->para, s->paraAlloc, p),
                           parameterText(s->para, s->paraAlloc, p));
        for (const DD_VAR_STRUCT* var = s->variables; var != nullptr; var = var->next) {
            XmlElement variable("datasource-var");
            variable.setAttributeInt("type", var->type);
            variable.setAttributeString("name", std::string(var->name, strnlen(var->name, sizeof var->name)));
            variable.setAttributeString("default",
                                        std::string(var->defaultText, strnlen(var->defaultText, sizeof var->defaultText)));
            for (int p = 0; p < v; ++p)
                writeParameter(variable, "datasource-var-para", parameterValue(var->para, var->paraAlloc, p),
                               parameterText(var->para, var->paraAlloc, p));
            source.appendElement(variable);
        }
        data->appendElement(source);
    }
}

bool dataLoadXml(XmlElement& data, ViewContent& out, const char* path)
{
    for (XmlElement node = data.firstElement(); node.valid(); node = node.nextElement()) {
        if (node.name() != "datasource")
            continue;
        int d, v;
        if (!readCount(node, "nr-data-para", d, path) || !readCount(node, "nr-var-para", v, path))
            return false;
        const int slots = d > kMinParameters ? d : kMinParameters;
        DD_DATA_TYPE_STRUCT* source = createDataType(slots);
        if (source == nullptr)
            return false;
        out.addSource(source);
        source->type = node.getAttributeInt("id");
        source->dataOptionCount = d;
        source->varOptionCount = v;
        const int varSlots = v > kMinParameters ? v : kMinParameters;
        int next = 0; // the next source parameter slot; further children are ignored
        DD_VAR_STRUCT* last = nullptr;
        for (XmlElement child = node.firstElement(); child.valid(); child = child.nextElement()) {
            const std::string name = child.name();
            if (name == "datasource-para") {
                if (next >= slots)
                    continue;
                DD_PARA_STRUCT& para = source->para[next++];
                para.value = child.getAttributeInt("ivalue");
                copyName(para.text, child.getAttributeString("svalue"));
            } else if (name == "datasource-var") {
                DD_VAR_STRUCT* var = createVariable(varSlots);
                if (var == nullptr)
                    return false;
                linkBehind(&source->variables, last, var);
                var->paraCount = v;
                var->type = child.getAttributeInt("type");
                copyName(var->name, child.getAttributeString("name"));
                copyName(var->defaultText, child.getAttributeString("default"));
                int nextVar = 0;
                for (XmlElement p = child.firstElement(); p.valid(); p = p.nextElement()) {
                    if (p.name() != "datasource-var-para" || nextVar >= varSlots)
                        continue;
                    DD_PARA_STRUCT& para = var->para[nextVar++];
                    para.value = p.getAttributeInt("ivalue");
                    // The whole text, in a buffer 12 bytes larger.
                    const std::string text = p.getAttributeString("svalue");
                    auto* buffer = static_cast<char*>(std::calloc(text.size() + kGrowth, 1));
                    if (buffer == nullptr) {
                        logMsg(1, "loadFileXml: %s: out of memory\n", path);
                        return false;
                    }
                    std::memcpy(buffer, text.data(), text.size());
                    std::free(para.text);
                    para.text = buffer;
                    para.capacity = int(text.size()) + kGrowth;
                }
            }
        }
    }
    return true;
}

bool xmlNestsDeeper(const std::string& text, int limit)
{
    const size_t n = text.size();
    int depth = 0;
    size_t i = 0;
    for (;;) {
        i = text.find('<', i);
        if (i == std::string::npos)
            return false;
        // The parts TinyXML reads over without looking for elements, each to
        // the end that TinyXML takes (a declaration it may take further).
        const char* end = nullptr;
        size_t from = i + 1;
        if (text.compare(i, 4, "<!--") == 0) {
            end = "-->";
            from = i + 4;
        } else if (text.compare(i, 9, "<![CDATA[") == 0) {
            end = "]]>";
            from = i + 9;
        } else if (i + 1 < n && (text[i + 1] == '!' || text[i + 1] == '?' || text[i + 1] == '/')) {
            // An end tag closes the element it is in; one without an open
            // element is no end of any.
            if (text[i + 1] == '/' && depth > 0)
                --depth;
            end = ">";
            from = i + 2;
        }
        if (end != nullptr) {
            const size_t e = text.find(end, from);
            if (e == std::string::npos)
                return false;
            i = e + std::strlen(end);
            continue;
        }
        // Anything else may be a start tag: to its ">", over quoted values.
        if (++depth > limit)
            return true;
        size_t j = i + 1;
        while (j < n && text[j] != '>') {
            if (text[j] == '"' || text[j] == '\'') {
                const size_t e = text.find(text[j], j + 1);
                if (e == std::string::npos)
                    return false;
                j = e + 1;
            } else {
                ++j;
            }
        }
        if (j >= n)
            return false;
        if (text[j - 1] == '/') // an empty element
            --depth;
        i = j + 1;
    }
}

namespace {

// Reads the whole file at path into text. False, logged, when it cannot be
// opened, is no regular file or is too large.
bool readXmlFile(const char* path, std::string& text)
{
    OpenedFile opened(path);
    if (opened.file() == nullptr) {
        if (errno == EINVAL || errno == EISDIR)
            logMsg(1, "loadFileXml: %s: not a regular file\n", path);
        else
            logMsg(1, "loadFileXml: cannot open file %s: %s\n", path, std::strerror(errno));
        return false;
    }
    if (opened.size() > kMaxXmlFileBytes) {
        logMsg(1, "loadFileXml: %s: %lld bytes is larger than %lld\n", path, (long long)opened.size(),
               (long long)kMaxXmlFileBytes);
        return false;
    }
    // The size bounds the read: a file that grows meanwhile is cut there.
    text.resize(size_t(opened.size()));
    const size_t got = text.empty() ? 0 : std::fread(&text[0], 1, text.size(), opened.file());
    if (std::ferror(opened.file()) != 0) {
        logMsg(1, "loadFileXml: %s: cannot read: %s\n", path, std::strerror(errno));
        return false;
    }
    text.resize(got);
    return true;
}

void readHeader(XmlElement& header, CONFIG_STRUCT& config)
{
    config.x = checkedFloat(header.getAttributeDouble("x"));
    config.y = checkedFloat(header.getAttributeDouble("y"));
    config.width = checkedFloat(header.getAttributeDouble("width"));
    config.height = checkedFloat(header.getAttributeDouble("height"));
    const Color page = header.getAttributeColor("pagecolor");
    config.r = page.r();
    config.g = page.g();
    config.b = page.b();
}

// Walks the sections of the document into out. False, logged, when the
// file is refused.
bool readSections(XmlElement& root, ViewContent& out, XmlReadState& state, const char* path)
{
    for (XmlElement section = root.firstElement(); section.valid(); section = section.nextElement()) {
        const std::string name = section.name();
        if (name == "header") {
            readHeader(section, out.config);
        } else if (name == "data") {
            if (!dataLoadXml(section, out, path))
                return false;
        } else if (name == "definition") {
            state.definitions.loadDefinition(section);
        } else if (name == "geometry") {
            state.wx = state.wy = 0.0;
            ElementSink top{&out.elements, out.lastElement, nullptr};
            for (XmlElement record = section.firstElement(); record.valid(); record = record.nextElement())
                if (!elementLoadXml(record, top, state)) {
                    logMsg(1, "loadFileXml: %s: the geometry section could not be read\n", path);
                    return false;
                }
        }
    }
    return true;
}

int loadXml(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
{
    std::string text;
    if (!readXmlFile(path, text))
        return -1;
    // TinyXML parses each level of nesting on the stack: a deep file is
    // refused before it gets there.
    if (xmlNestsDeeper(text, kMaxXmlDepth)) {
        logMsg(1, "loadFileXml: %s: elements nest deeper than %d levels\n", path, kMaxXmlDepth);
        return -1;
    }
    XmlDocument document;
    if (!document.parse(text)) {
        logMsg(1, "loadFileXml: %s: %s\n", path, document.errorText().c_str());
        return -1;
    }
    std::string().swap(text);
    XmlElement root = document.root();
    if (!root.valid()) {
        logMsg(1, "loadFileXml: %s: no root element\n", path);
        return -1;
    }
    // Definitions and element records make fonts and textures. Taken before
    // the content and the read state: what a refused read frees goes back
    // under the lock too.
    LibraryLockGuard lock(libraryLock());
    ViewContent content(*config);
    XmlReadState state;
    if (!readSections(root, content, state, path))
        return -1; // content frees what was read
    content.adopt(elements, sources, config);
    return 0;
}

int saveXml(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources, const CONFIG_STRUCT& config)
{
    XmlDocument document;
    XmlWriteState state;

    XmlElement root("Nalvo2D");
    const int release = VGet_releasenr();
    root.setAttributeString("version", std::to_string(release / 100) + "." + std::to_string(release % 100));
    document.appendElement(root);

    XmlElement header("header");
    header.setAttributeString("date", "24.05.2008");
    header.setAttributeString("name", path);
    header.setAttributeDouble("x", config.x);
    header.setAttributeDouble("y", config.y);
    header.setAttributeDouble("width", config.width);
    header.setAttributeDouble("height", config.height);
    header.setAttributeColor("pagecolor", Color(config.r, config.g, config.b, 1.0f));
    root.appendElement(header);

    XmlElement editor("editor");
    root.appendElement(editor);

    XmlElement data("data");
    dataSaveXml(sources, &data);
    root.appendElement(data);

    XmlElement definition("definition");
    {
        // Bitmap definitions read the texture registry.
        LibraryLockGuard lock(libraryLock());
        // What the reader would refuse is not written.
        if (groupsNestTooDeep(elements, 0)) {
            logMsg(1, "saveFileXml: %s: groups nested deeper than %d levels\n", path, kMaxGroupDepth);
            return -1;
        }
        for (ELEMENT_STRUCT* e = elements; e != nullptr; e = e->next)
            if (state.definitions.definitionSaveXml(e, &definition) != 0)
                return -1;
    }
    root.appendElement(definition);
    XmlElement geometry("geometry");
    state.wx = state.wy = 0.0;
    {
        // The records are read under the library lock, as the binary writer
        // reads them.
        LibraryLockGuard lock(libraryLock());
        for (ELEMENT_STRUCT* e = elements; e != nullptr; e = e->next)
            elementSaveXml(e, &geometry, state);
    }
    root.appendElement(geometry);

    ReplacingFile out(path);
    if (out.notRegular()) {
        logMsg(1, "saveFileXml: %s: not a regular file\n", path);
        return -1;
    }
    if (out.file() == nullptr) {
        logMsg(1, "saveFileXml: %s: cannot create: %s\n", path, std::strerror(errno));
        return -1;
    }
    if (out.modeError() != 0)
        logMsg(2, "saveFileXml: %s: the old permissions could not be kept: %s\n", path,
               std::strerror(out.modeError()));
    if (!document.write(out.file()) || !out.commit()) {
        logMsg(1, "saveFileXml: %s: cannot write: %s\n", path, std::strerror(errno));
        return -1;
    }
    return 0;
}

} // namespace

} // namespace dorne

int saveFileXml(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources, CONFIG_STRUCT* config)
{
    if (path == nullptr || config == nullptr) {
        logMsg(1, "saveFileXml: null argument\n");
        return -1;
    }
    try {
        return dorne::saveXml(path, elements, sources, *config);
    } catch (...) { // memory ran out
        logMsg(1, "saveFileXml: %s: out of memory\n", path);
        return -1;
    }
}

int loadFileXml(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
{
    if (path == nullptr || elements == nullptr || sources == nullptr || config == nullptr) {
        logMsg(1, "loadFileXml: null argument\n");
        return -1;
    }
    try {
        return dorne::loadXml(path, elements, sources, config);
    } catch (...) { // memory ran out
        logMsg(1, "loadFileXml: %s: out of memory\n", path);
        return -1;
    }
}
