#include "xml/XmlDocument.h"

#include <cerrno>
#include <climits>
#include <limits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <locale>

namespace dorne {

namespace {

// Numbers are spelled the same whatever locale the application set: the
// C library's formatting and scanning run under the "C" locale while a
// codec uses them (per thread, nothing global changes).
class ClassicNumbers
{
public:
    ClassicNumbers()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
        if (c != locale_t(0))
            previous_ = uselocale(c);
    }
    ~ClassicNumbers()
    {
        if (previous_ != locale_t(0))
            uselocale(previous_);
    }
    ClassicNumbers(const ClassicNumbers&) = delete;
    ClassicNumbers& operator=(const ClassicNumbers&) = delete;

private:
    locale_t previous_ = locale_t(0);
};

const char* const kPositions[] = {"leftUpper",  "centerUpper", "rightUpper", "rightCenter", "rightLower",
                                  "centerLower", "leftLower",  "leftCenter", "center"};

// The 32-bit word of a long, modulo 2^32.
int cut32(long value)
{
    const uint32_t word = uint32_t(static_cast<unsigned long>(value));
    int32_t result;
    std::memcpy(&result, &word, sizeof result);
    return result;
}

// One colour component from two characters of text (fewer at its end).
float colorPair(const std::string& text, size_t at)
{
    const std::string pair = at < text.size() ? text.substr(at, 2) : std::string();
    return float(double(std::strtol(pair.c_str(), nullptr, 16)) / 255.0);
}

// Texts are bytes (the fonts draw them as Latin-1); TinyXML reads a file
// as UTF-8, and a byte that starts no whole character there takes the
// bytes behind it, a closing quote or the "&" of an entity among them.
// XML 1.0 also forbids the control characters but tab and line ends, even
// as references, and U+FFFE and U+FFFF. A text of valid UTF-8 without
// those is written as it is, so files of such texts read as they always
// did. Any other text is written behind a ZERO WIDTH NO-BREAK SPACE, which
// marks it for the reader to turn back into its bytes: bytes from 0x80 as
// Latin-1 in UTF-8, the forbidden control bytes as their CONTROL PICTURES
// (U+2400 + byte), the rest as they are. A valid text that itself begins
// with the mark is marked too, so that every text reads back as the bytes
// it was.
const char kLatin1Mark[] = "\xEF\xBB\xBF";
const size_t kMarkBytes = 3;
const uint32_t kControlPictures = 0x2400;

// A control character XML 1.0 has no place for.
bool forbiddenControl(uint32_t code)
{
    return code < 0x20 && code != '\t' && code != '\n' && code != '\r';
}

// Whether text is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF) of characters XML 1.0 allows.
bool writableAsIs(const std::string& text)
{
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if (forbiddenControl(c))
                return false;
            ++i;
            continue;
        }
        size_t length;
        uint32_t code;
        if (c >= 0xC2 && c <= 0xDF)
            length = 2, code = c & 0x1Fu;
        else if (c >= 0xE0 && c <= 0xEF)
            length = 3, code = c & 0x0Fu;
        else if (c >= 0xF0 && c <= 0xF4)
            length = 4, code = c & 0x07u;
        else
            return false;
        if (n - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const unsigned char d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (d & 0x3Fu);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && (code < 0x10000 || code > 0x10FFFF)) ||
            (code >= 0xD800 && code <= 0xDFFF) || code == 0xFFFE || code == 0xFFFF)
            return false;
        i += length;
    }
    return true;
}

bool marked(const std::string& text)
{
    return text.compare(0, kMarkBytes, kLatin1Mark) == 0;
}

std::string encodeText(const std::string& bytes)
{
    if (!marked(bytes) && writableAsIs(bytes))
        return bytes;
    std::string out(kLatin1Mark);
    out.reserve(kMarkBytes + 3 * bytes.size());
    for (const char ch : bytes) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (forbiddenControl(c)) {
            const uint32_t picture = kControlPictures + c;
            out += char(0xE0 | (picture >> 12));
            out += char(0x80 | ((picture >> 6) & 0x3F));
            out += char(0x80 | (picture & 0x3F));
        } else if (c < 0x80) {
            out += ch;
        } else {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// A marked text holds only characters up to U+00FF and the pictures of the
// forbidden control bytes behind its mark (an older writer wrote those
// bytes as references, which TinyXML reads as the bytes); any other text
// (an older file's, or one written by hand) is kept as read.
std::string decodeText(const std::string& text)
{
    if (!marked(text))
        return text;
    std::string out;
    out.reserve(text.size() - kMarkBytes);
    for (size_t i = kMarkBytes; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += char(c);
            continue;
        }
        const unsigned char d = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if ((c == 0xC2 || c == 0xC3) && (d & 0xC0) == 0x80) {
            out += char(((c & 0x03) << 6) | (d & 0x3F));
            ++i;
            continue;
        }
        const unsigned char e = i + 2 < text.size() ? static_cast<unsigned char>(text[i + 2]) : 0;
        const uint32_t picture = (uint32_t(c & 0x0F) << 12) | (uint32_t(d & 0x3F) << 6) | (e & 0x3Fu);
        if ((c & 0xF0) != 0xE0 || (d & 0xC0) != 0x80 || (e & 0xC0) != 0x80 || picture < kControlPictures ||
            !forbiddenControl(picture - kControlPictures))
            return text;
        out += char(picture - kControlPictures);
        i += 2;
    }
    return out;
}

} // namespace

float checkedFloat(double value)
{
    if (!std::isfinite(value))
        return 0.0f;
    if (value > double(std::numeric_limits<float>::max()))
        return std::numeric_limits<float>::max();
    if (value < -double(std::numeric_limits<float>::max()))
        return -std::numeric_limits<float>::max();
    return float(value);
}

int checkedInt(double value)
{
    if (!std::isfinite(value))
        return 0;
    if (value >= double(INT_MAX))
        return INT_MAX;
    if (value <= double(INT_MIN))
        return INT_MIN;
    return int(value);
}

// ---- XmlElement --------------------------------------------------------------

struct XmlElement::Pending
{
    explicit Pending(TiXmlElement* n) : node(n) {}
    ~Pending() { delete node; }
    Pending(const Pending&) = delete;
    Pending& operator=(const Pending&) = delete;

    TiXmlElement* node; // null once a parent owns it
};

XmlElement::XmlElement(const std::string& name)
{
    auto made = std::make_unique<TiXmlElement>(name);
    pending_ = std::make_shared<Pending>(made.get());
    node_ = made.release();
}

void XmlElement::appendElement(XmlElement& child)
{
    node_->LinkEndChild(child.node_);
    child.adopted();
}

void XmlElement::adopted()
{
    if (pending_ != nullptr)
        pending_->node = nullptr;
}

std::string XmlElement::getAttributeString(const std::string& name) const
{
    const std::string* value = node_->Attribute(name);
    return value != nullptr ? decodeText(*value) : std::string();
}

bool XmlElement::hasAttribute(const std::string& name) const
{
    return node_->Attribute(name) != nullptr;
}

int XmlElement::getAttributeInt(const std::string& name) const
{
    const std::string* value = node_->Attribute(name);
    if (value == nullptr)
        return 0;
    const int saved = errno;
    const long number = std::strtol(value->c_str(), nullptr, 0);
    errno = saved;
    return cut32(number);
}

double XmlElement::getAttributeDouble(const std::string& name) const
{
    ClassicNumbers classic;
    double value = 0.0;
    node_->QueryDoubleAttribute(name, &value);
    return value;
}

bool XmlElement::getAttributeBool(const std::string& name) const
{
    const std::string* value = node_->Attribute(name);
    return value != nullptr && *value == "true";
}

Color XmlElement::getAttributeColor(const std::string& name) const
{
    const std::string* value = node_->Attribute(name);
    Color color;
    if (value == nullptr)
        return color;
    if (*value == "none") {
        color.setNone(true);
        return color;
    }
    if (value->size() < 7) // not of the format: as if missing
        return color;
    color.setRgba(colorPair(*value, 1), colorPair(*value, 3), colorPair(*value, 5), colorPair(*value, 7));
    return color;
}

Matrix2<double> XmlElement::getAttributeMatrix(const std::string& name) const
{
    Matrix2<double> m;
    const std::string* value = node_->Attribute(name);
    if (value == nullptr)
        return m;
    double v[6] = {};
    {
        ClassicNumbers classic;
        std::sscanf(value->c_str(), "%lf %lf %lf %lf %lf %lf", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5]);
    }
    m.set(0, 0, v[0]);
    m.set(1, 0, v[1]);
    m.set(0, 1, v[2]);
    m.set(1, 1, v[3]);
    m.set(0, 2, v[4]);
    m.set(1, 2, v[5]);
    return m;
}

int XmlElement::getAttributePosition(const std::string& name) const
{
    const std::string* value = node_->Attribute(name);
    if (value == nullptr)
        return 9;
    for (int code = 1; code <= 8; ++code)
        if (*value == kPositions[code - 1])
            return code;
    return 9;
}

void XmlElement::setAttributeString(const std::string& name, const std::string& value)
{
    node_->SetAttribute(name, encodeText(value));
}

void XmlElement::setAttributeInt(const std::string& name, int value)
{
    node_->SetAttribute(name, std::to_string(value));
}

void XmlElement::setAttributeHex(const std::string& name, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", unsigned(value));
    node_->SetAttribute(name, text);
}

void XmlElement::setAttributeDouble(const std::string& name, double value)
{
    // What a default-formatted stream writes ("%.6g"), without a stream
    // and its locale per number.
    char text[32];
    ClassicNumbers classic;
    std::snprintf(text, sizeof text, "%.6g", value);
    node_->SetAttribute(name, text);
}

void XmlElement::setAttributeBool(const std::string& name, bool value)
{
    node_->SetAttribute(name, value ? "true" : "false");
}

void XmlElement::setAttributeColor(const std::string& name, const Color& value)
{
    if (value.none()) {
        node_->SetAttribute(name, "none");
        return;
    }
    char text[48];
    std::snprintf(text, sizeof text, "#%02x%02x%02x%02x", unsigned(checkedInt(255.0 * value.r())),
                  unsigned(checkedInt(255.0 * value.g())), unsigned(checkedInt(255.0 * value.b())),
                  unsigned(checkedInt(255.0 * value.a())));
    node_->SetAttribute(name, text);
}

void XmlElement::setAttributeMatrix(const std::string& name, const Matrix2<double>& value)
{
    const double v[6] = {value.get(0, 0), value.get(1, 0), value.get(0, 1),
                         value.get(1, 1), value.get(0, 2), value.get(1, 2)};
    const char* format = "%f %f %f %f %f %f";
    ClassicNumbers classic;
    const int n = std::snprintf(nullptr, 0, format, v[0], v[1], v[2], v[3], v[4], v[5]);
    if (n < 0)
        return;
    std::string text(size_t(n) + 1, '\0');
    std::snprintf(&text[0], text.size(), format, v[0], v[1], v[2], v[3], v[4], v[5]);
    text.resize(size_t(n));
    node_->SetAttribute(name, text);
}

void XmlElement::setAttributePosition(const std::string& name, int value)
{
    node_->SetAttribute(name, kPositions[value >= 1 && value <= 8 ? value - 1 : 8]);
}

// ---- XmlDocument -------------------------------------------------------------

XmlDocument::XmlDocument()
{
    doc_.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
}

bool XmlDocument::read(const std::string& path)
{
    return doc_.LoadFile(path, TIXML_ENCODING_UNKNOWN);
}

bool XmlDocument::parse(std::string& text)
{
    doc_.Clear();
    doc_.ClearError();
    // As a load from a file does: CR LF and a lone CR become LF (in place).
    const size_t length = text.size();
    size_t out = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] == '\r') {
            text[out++] = '\n';
            if (i + 1 < length && text[i + 1] == '\n')
                ++i;
        } else {
            text[out++] = text[i];
        }
    }
    text.resize(out);
    doc_.Parse(text.c_str(), nullptr, TIXML_ENCODING_UNKNOWN);
    return !doc_.Error();
}

bool XmlDocument::write(const std::string& path)
{
    return doc_.SaveFile(path);
}

bool XmlDocument::write(FILE* file)
{
    return doc_.SaveFile(file) && std::ferror(file) == 0;
}

std::string XmlDocument::errorText() const
{
    return std::string(doc_.ErrorDesc() != nullptr ? doc_.ErrorDesc() : "unknown error") + " at line " +
           std::to_string(doc_.ErrorRow()) + ", column " + std::to_string(doc_.ErrorCol());
}

XmlElement XmlDocument::root()
{
    return XmlElement(doc_.FirstChildElement());
}

void XmlDocument::appendElement(XmlElement& element)
{
    doc_.LinkEndChild(element.data());
    element.adopted();
}

} // namespace dorne
