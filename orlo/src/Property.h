#ifndef ORLO_PROPERTY_H
#define ORLO_PROPERTY_H

#include <map>
#include <string>

namespace KAVO {

// The settings store: one process-wide map from key to text value, read
// from "ORLO.ini" at start-up and written back whole whenever a dialog
// changes a value.
class Property
{
public:
    static Property* instance();

    Property(const Property&) = delete;
    Property& operator=(const Property&) = delete;

    void setConfigFile(const std::string& name);
    const std::string& configFile() const { return mConfigFile; }

    bool readXmlFile();
    bool readXmlFile(const std::string& name);
    // False (with a diagnostic and a report to the window) when the file
    // could not be written; the previous file then stays as it was.
    bool writeXmlFile();
    bool writeXmlFile(const std::string& name);

    void setString(const std::string& key, const std::string& value);
    void setInt(const std::string& key, int n);
    void setDouble(const std::string& key, double x);
    void setSwitch(const std::string& key, bool b);

    std::string getString(const std::string& key, const std::string& defaultValue) const;
    int getInt(const std::string& key, int defaultValue) const;
    double getDouble(const std::string& key, double defaultValue) const;
    bool getSwitch(const std::string& key, bool defaultValue) const;

    // Plain "key = value" reader; offered for older configuration files.
    bool readConfigFile();
    bool readConfigFile(const std::string& name);
    bool update();

    // Empties the store (used when a fresh start is wanted, e.g. in tests).
    void clear();

private:
    Property() = default;

    std::map<std::string, std::string> mValues;
    std::string mConfigFile;
};

} // namespace KAVO

#endif
