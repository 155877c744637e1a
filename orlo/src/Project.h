#ifndef ORLO_PROJECT_H
#define ORLO_PROJECT_H

#include "XmlHandler.h"

#include <QString>

#include <set>
#include <string>

namespace KAVO {

// The user's choice of parameters as a small XML file ("KavoProject"). The
// choice itself lives in the profile's selected flags; the project turns a
// file into flags and flags into a file.
class Project : public XmlHandler
{
public:
    static Project* instance();

    // Empties the name set and unselects every parameter of the profile.
    void clear();
    // False (with a diagnostic) when the file cannot be read or parsed; the
    // profile's selection then stays as it was.
    bool readProject(const QString& path);
    // Writes the profile's selected parameters; false when the file could
    // not be written (the old file then stays as it was).
    bool saveProject(const QString& path);
    // Selects exactly the profile parameters whose full name is in the set.
    void setProfileData();

    const std::set<std::string>& names() const { return mNames; }

private:
    Project() = default;
    Project(const Project&) = delete;
    Project& operator=(const Project&) = delete;

    std::set<std::string> mNames; // full parameter names, byte-wise ordered
};

} // namespace KAVO

#endif
