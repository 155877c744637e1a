#include "Property.h"

#include "Notifier.h"
#include "SafeFile.h"
#include "XmlHandler.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace KAVO {

Property* Property::instance()
{
    static Property property;
    return &property;
}

void Property::setConfigFile(const std::string& name)
{
    mConfigFile = name;
}

bool Property::readXmlFile()
{
    return readXmlFile(mConfigFile);
}

bool Property::readXmlFile(const std::string& name)
{
    XmlHandler xml;
    QDomDocument doc;
    const bool ok = xml.xmlReadFile(doc, QString::fromStdString(name));
    printf("readXmlFile <%s> %d\n", name.c_str(), ok ? 1 : 0);
    if (!ok)
        return true;

    // The root's name is not checked, so older files with another root still load.
    for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() != QLatin1String("Property"))
            continue;
        const QDomNamedNodeMap attrs = e.attributes();
        const std::string id = xml.xmlGetStdStringAttribute(attrs, "id", "");
        const std::string value = xml.xmlGetStdStringAttribute(attrs, "value", "");
        mValues[id] = value;
    }
    return true;
}

bool Property::writeXmlFile()
{
    return writeXmlFile(mConfigFile);
}

bool Property::writeXmlFile(const std::string& name)
{
    XmlHandler xml;
    QDomDocument doc;
    QDomElement root = xml.xmlCreateElement(doc, doc, "KAVO");
    for (const auto& kv : mValues) {
        if (kv.second.empty())
            continue;
        QDomElement e = xml.xmlCreateElement(doc, root, "Property");
        xml.xmlCreateAttribute(doc, e, "id", kv.first);
        xml.xmlCreateAttribute(doc, e, "value", kv.second);
    }
    const QString path = QString::fromStdString(name);
    if (xml.xmlWriteFile(doc, path))
        return true;
    // Every dialog writes the settings; the window tells the user once here.
    Notifier::Report report;
    report.problem = Notifier::Problem::SettingsNotSaved;
    report.path = path;
    Notifier::report(report);
    return false;
}

void Property::setString(const std::string& key, const std::string& value)
{
    mValues[key] = value;
}

void Property::setInt(const std::string& key, int n)
{
    mValues[key] = std::to_string(n);
}

void Property::setDouble(const std::string& key, double x)
{
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << x;
    mValues[key] = os.str();
}

void Property::setSwitch(const std::string& key, bool b)
{
    mValues[key] = b ? "true" : "false";
}

std::string Property::getString(const std::string& key, const std::string& defaultValue) const
{
    const auto it = mValues.find(key);
    return it == mValues.end() ? defaultValue : it->second;
}

int Property::getInt(const std::string& key, int defaultValue) const
{
    const auto it = mValues.find(key);
    return it == mValues.end() ? defaultValue : atoi(it->second.c_str());
}

double Property::getDouble(const std::string& key, double defaultValue) const
{
    const auto it = mValues.find(key);
    return it == mValues.end() ? defaultValue : atof(it->second.c_str());
}

bool Property::getSwitch(const std::string& key, bool defaultValue) const
{
    const auto it = mValues.find(key);
    if (it == mValues.end())
        return defaultValue;
    return it->second == "true" || it->second == "TRUE" || it->second == "True";
}

namespace {

std::string strip(const std::string& s, const char* chars)
{
    const size_t b = s.find_first_not_of(chars);
    if (b == std::string::npos)
        return std::string();
    const size_t e = s.find_last_not_of(chars);
    return s.substr(b, e - b + 1);
}

} // namespace

bool Property::readConfigFile()
{
    return update();
}

bool Property::readConfigFile(const std::string& name)
{
    mConfigFile = name;
    return update();
}

bool Property::update()
{
    // Only a regular file: a named pipe would block the reader.
    QFile in;
    if (SafeFile::openForReading(in, QString::fromStdString(mConfigFile)) != SafeFile::Opened)
        return false;
    mValues.clear();
    while (!in.atEnd()) {
        std::string line = in.readLine().toStdString();
        line = strip(line, " \t\r\n");
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        const size_t eq = line.find('=');
        const std::string key = strip(line.substr(0, eq), " \t");
        const std::string value = eq == std::string::npos ? std::string() : strip(line.substr(eq + 1), " \t\"");
        mValues[key] = value;
    }
    return true;
}

void Property::clear()
{
    mValues.clear();
}

} // namespace KAVO
