#ifndef ORLO_XMLHANDLER_H
#define ORLO_XMLHANDLER_H

#include <QDomAttr>
#include <QDomDocument>
#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QDomText>
#include <QString>

#include <string>

namespace KAVO {

// DOM helper shared by the settings store, the profile, the project file,
// the time-offset file and the KML export.
class XmlHandler
{
public:
    // Deeper documents are refused before the DOM is built: the DOM parser
    // recurses per level and a hostile file would overflow the stack.
    static constexpr int MaxDepth = 256;
    // Larger files are refused unread: no file of the application comes near.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    // Why the last read failed; line and column are 0 when the failure lies
    // before the text (a file that cannot be opened).
    struct ReadError
    {
        QString text;
        int line = 0;
        int column = 0;
    };

    QDomElement xmlCreateElement(QDomDocument& document, QDomDocument& parent, const QString& name);
    QDomElement xmlCreateElement(QDomDocument& document, QDomElement& parent, const QString& name);
    QDomText xmlCreateTextElement(QDomDocument& document, QDomElement& parent, const QString& text);

    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                const QString& value);
    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                const std::string& value);
    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                const char* value);
    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name, int value);
    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name, long value);
    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                unsigned long value);
    QDomAttr xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name, double value);

    void xmlCreateParameter(QDomElement& element, const QString& name, const std::string& value);

    QString xmlGetStringAttribute(const QDomNamedNodeMap& attributes, const QString& name,
                                  const QString& defaultValue);
    std::string xmlGetStdStringAttribute(const QDomNamedNodeMap& attributes, const QString& name,
                                         const std::string& defaultValue);
    // Base 0: "0x" reads hexadecimal, a leading 0 octal, otherwise decimal.
    int xmlGetIntAttribute(const QDomNamedNodeMap& attributes, const QString& name, int defaultValue);
    double xmlGetDoubleAttribute(const QDomNamedNodeMap& attributes, const QString& name, double defaultValue);
    bool xmlGetBoolAttribute(const QDomNamedNodeMap& attributes, const QString& name, bool defaultValue);

    // Only regular files are read; false (with a diagnostic) when the file
    // cannot be opened, is no regular file, is too big, nests deeper than
    // MaxDepth or is not well-formed. xmlReadError() tells why.
    bool xmlReadFile(QDomDocument& document, const QString& path);
    bool xmlReadFile(QDomDocument& document, const QString& folder, const QString& file);
    const ReadError& xmlReadError() const { return mReadError; }
    // Parses text the same way, bounded in depth.
    bool xmlSetContent(QDomDocument& document, const QByteArray& text);

    // Writes through a temporary file that replaces the old one only when
    // complete; false (with a diagnostic) when anything fails.
    bool xmlWriteFile(QDomDocument& document, const QString& path);
    bool xmlWriteFile(QDomDocument& document, const QString& folder, const QString& file);

private:
    bool readFile(QDomDocument& document, const QString& path, bool verbose);

    ReadError mReadError;
};

} // namespace KAVO

#endif
