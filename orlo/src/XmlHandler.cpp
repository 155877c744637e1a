#include "XmlHandler.h"

#include "SafeFile.h"

#include <QFile>
#include <QXmlStreamReader>

#include <cstdio>

namespace KAVO {

QDomElement XmlHandler::xmlCreateElement(QDomDocument& document, QDomDocument& parent, const QString& name)
{
    QDomElement e = document.createElement(name);
    parent.appendChild(e);
    return e;
}

QDomElement XmlHandler::xmlCreateElement(QDomDocument& document, QDomElement& parent, const QString& name)
{
    QDomElement e = document.createElement(name);
    parent.appendChild(e);
    return e;
}

QDomText XmlHandler::xmlCreateTextElement(QDomDocument& document, QDomElement& parent, const QString& text)
{
    QDomText t = document.createTextNode(text);
    parent.appendChild(t);
    return t;
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        const QString& value)
{
    QDomAttr a = document.createAttribute(name);
    a.setValue(value);
    element.setAttributeNode(a);
    return a;
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        const std::string& value)
{
    return xmlCreateAttribute(document, element, name, QString::fromStdString(value));
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        const char* value)
{
    return xmlCreateAttribute(document, element, name, QString::fromUtf8(value ? value : ""));
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        int value)
{
    return xmlCreateAttribute(document, element, name, QString::asprintf("%d", value));
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        long value)
{
    return xmlCreateAttribute(document, element, name, QString::asprintf("%ld", value));
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        unsigned long value)
{
    return xmlCreateAttribute(document, element, name, QString::asprintf("%lu", value));
}

QDomAttr XmlHandler::xmlCreateAttribute(QDomDocument& document, QDomElement& element, const QString& name,
                                        double value)
{
    return xmlCreateAttribute(document, element, name, QString::asprintf("%.12f", value));
}

void XmlHandler::xmlCreateParameter(QDomElement& element, const QString& name, const std::string& value)
{
    element.setAttribute(name, QString::fromStdString(value));
}

QString XmlHandler::xmlGetStringAttribute(const QDomNamedNodeMap& attributes, const QString& name,
                                          const QString& defaultValue)
{
    const QDomNode n = attributes.namedItem(name);
    if (n.isNull())
        return defaultValue;
    return n.nodeValue();
}

std::string XmlHandler::xmlGetStdStringAttribute(const QDomNamedNodeMap& attributes, const QString& name,
                                                 const std::string& defaultValue)
{
    const QDomNode n = attributes.namedItem(name);
    if (n.isNull())
        return defaultValue;
    return n.nodeValue().toStdString();
}

int XmlHandler::xmlGetIntAttribute(const QDomNamedNodeMap& attributes, const QString& name, int defaultValue)
{
    const QDomNode n = attributes.namedItem(name);
    if (n.isNull() || n.nodeValue().isEmpty())
        return defaultValue;
    bool ok = false;
    const int v = n.nodeValue().trimmed().toInt(&ok, 0);
    return ok ? v : 0;
}

double XmlHandler::xmlGetDoubleAttribute(const QDomNamedNodeMap& attributes, const QString& name,
                                         double defaultValue)
{
    const QDomNode n = attributes.namedItem(name);
    if (n.isNull() || n.nodeValue().isEmpty())
        return defaultValue;
    bool ok = false;
    const double v = n.nodeValue().trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}

bool XmlHandler::xmlGetBoolAttribute(const QDomNamedNodeMap& attributes, const QString& name, bool defaultValue)
{
    const QDomNode n = attributes.namedItem(name);
    if (n.isNull())
        return defaultValue;
    const QString v = n.nodeValue();
    return v == QLatin1String("true") || v == QLatin1String("1");
}

namespace {

// Walks the text without building anything and stops at the first level
// beyond the bound; the stream reader keeps its own stack, so depth cannot
// hurt it. A text it cannot read to the end is refused as well: its depth
// after the fault is unknown.
bool checkNesting(const QByteArray& text, XmlHandler::ReadError& error)
{
    QXmlStreamReader reader(text);
    // Prefixes need no declaration for the DOM reader either.
    reader.setNamespaceProcessing(false);
    int depth = 0;
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (++depth > XmlHandler::MaxDepth) {
                error.text = QStringLiteral("elements nest deeper than %1 levels").arg(XmlHandler::MaxDepth);
                error.line = static_cast<int>(reader.lineNumber());
                error.column = static_cast<int>(reader.columnNumber());
                return false;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            --depth;
        }
    }
    if (reader.hasError()) {
        error.text = reader.errorString();
        error.line = static_cast<int>(reader.lineNumber());
        error.column = static_cast<int>(reader.columnNumber());
        return false;
    }
    return true;
}

} // namespace

bool XmlHandler::xmlSetContent(QDomDocument& document, const QByteArray& text)
{
    mReadError = ReadError();
    if (!checkNesting(text, mReadError))
        return false;
    QString message;
    int line = 0;
    int column = 0;
    if (!document.setContent(text, &message, &line, &column)) {
        mReadError.text = message;
        mReadError.line = line;
        mReadError.column = column;
        return false;
    }
    return true;
}

bool XmlHandler::readFile(QDomDocument& document, const QString& path, bool verbose)
{
    mReadError = ReadError();
    QFile file;
    QString why;
    if (SafeFile::openForReading(file, path, {}, &why) != SafeFile::Opened) {
        if (verbose)
            printf("could not open file <%s>\n", path.toLocal8Bit().constData());
        mReadError.text = why;
        return false;
    }
    QByteArray text;
    const qint64 size = file.size();
    if (size <= MaxFileSize) {
        // One byte more than the size tells a file that grew meanwhile.
        text = file.read(size + 1);
    }
    if (size > MaxFileSize || text.size() > MaxFileSize)
        mReadError.text = QStringLiteral("file larger than %1 bytes").arg(MaxFileSize);
    if (!mReadError.text.isEmpty() || !xmlSetContent(document, text)) {
        const ReadError error = mReadError;
        if (verbose) {
            printf("could not set content <%s>\n", path.toLocal8Bit().constData());
            printf("    line %d column %d: %s\n", error.line, error.column, error.text.toLocal8Bit().constData());
        }
        document.clear();
        mReadError = error;
        return false;
    }
    return true;
}

bool XmlHandler::xmlReadFile(QDomDocument& document, const QString& path)
{
    return readFile(document, path, true);
}

bool XmlHandler::xmlReadFile(QDomDocument& document, const QString& folder, const QString& file)
{
    return readFile(document, folder + "/" + file, false);
}

bool XmlHandler::xmlWriteFile(QDomDocument& document, const QString& path)
{
    return SafeFile::writeAll(path, document.toByteArray(4));
}

bool XmlHandler::xmlWriteFile(QDomDocument& document, const QString& folder, const QString& file)
{
    return xmlWriteFile(document, folder + "/" + file);
}

} // namespace KAVO
