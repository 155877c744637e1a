#include "Project.h"

#include "Profile.h"

#include <QDomDocument>
#include <QDomElement>

namespace KAVO {

namespace {

std::string nameKey(const QString& name)
{
    return name.toUtf8().toStdString();
}

} // namespace

Project* Project::instance()
{
    static Project project;
    return &project;
}

void Project::clear()
{
    mNames.clear();
    setProfileData();
}

bool Project::readProject(const QString& path)
{
    mNames.clear();

    QDomDocument document;
    if (!xmlReadFile(document, path))
        return false;

    // The root's name is not checked: only its "Parameters" children count.
    const QDomElement root = document.documentElement();
    for (QDomElement list = root.firstChildElement("Parameters"); !list.isNull();
         list = list.nextSiblingElement("Parameters")) {
        for (QDomElement e = list.firstChildElement("Parameter"); !e.isNull();
             e = e.nextSiblingElement("Parameter"))
            mNames.insert(nameKey(xmlGetStringAttribute(e.attributes(), "name", QString())));
    }
    setProfileData();
    return true;
}

void Project::setProfileData()
{
    for (auto& device : Profile::instance()->data().mDevices) {
        for (auto& entry : device.second.mParameters) {
            ProfileParameter& p = entry.second;
            p.mSelected = mNames.count(nameKey(p.mFullName)) != 0;
        }
    }
}

bool Project::saveProject(const QString& path)
{
    QDomDocument document;
    QDomElement root = xmlCreateElement(document, document, "KavoProject");
    QDomElement list = xmlCreateElement(document, root, "Parameters");
    for (const auto& device : Profile::instance()->data().mDevices) {
        for (const auto& entry : device.second.mParameters) {
            const ProfileParameter& p = entry.second;
            if (!p.mSelected)
                continue;
            QDomElement e = xmlCreateElement(document, list, "Parameter");
            xmlCreateAttribute(document, e, "name", p.mFullName);
        }
    }
    return xmlWriteFile(document, path);
}

} // namespace KAVO
