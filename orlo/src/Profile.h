#ifndef ORLO_PROFILE_H
#define ORLO_PROFILE_H

#include "ProfileInfo.h"
#include "ProfileParameter.h"
#include "RecordEntry.h"
#include "XmlHandler.h"

#include <QColor>
#include <QDomElement>
#include <QString>

#include <map>

namespace KAVO {

// The decoding profile: what the CAN messages of a recording mean, and the
// decoders that turn one message into the value of one parameter.
class Profile : public XmlHandler
{
public:
    // Data-type numbers; they are also the codes of a message's own
    // data-type byte (record byte 1).
    enum DataType {
        TYPE_NODATA = 0,
        TYPE_ERROR = 1,
        TYPE_FLOAT = 2,
        TYPE_LONG = 3,
        TYPE_ULONG = 4,
        TYPE_BLONG = 5,
        TYPE_SHORT = 6,
        TYPE_USHORT = 7,
        TYPE_BSHORT = 8,
        TYPE_CHAR = 9,
        TYPE_UCHAR = 10,
        TYPE_BCHAR = 11,
        TYPE_SHORT_2 = 12,
        TYPE_USHORT_2 = 13,
        TYPE_BSHORT_2 = 14,
        TYPE_CHAR_4 = 15,
        TYPE_UCHAR_4 = 16,
        TYPE_BCHAR_4 = 17,
        TYPE_CHAR_2 = 18,
        TYPE_UCHAR_2 = 19,
        TYPE_BCHAR_2 = 20,
        TYPE_MEMID = 21,
        TYPE_CHKSUM = 22,
        TYPE_ACHAR = 23,
        TYPE_ACHAR_2 = 24,
        TYPE_ACHAR_4 = 25,
        TYPE_CHAR_3 = 26,
        TYPE_UCHAR_3 = 27,
        TYPE_BCHAR_3 = 28,
        TYPE_ACHAR_3 = 29,
        TYPE_LONG48 = 30,
        TYPE_NMEA = 70
    };

    // The KML roles: channel and CAN id of latitude, longitude and altitude.
    struct KmlInfo
    {
        int latitudeChannel = 0;
        int latitudeId = 0;
        int longitudeChannel = 0;
        int longitudeId = 0;
        int altitudeChannel = 0;
        int altitudeId = 0;
    };

    static Profile* instance();

    // False when the file cannot be read or is no profile; the model is then
    // empty and the failure is reported to the window with the XML error's
    // line and column.
    bool loadProfile(const QString& path);
    void clear();

    ProfileInfo& data() { return mInfo; }
    const KmlInfo& kmlInfo() const { return mKml; }

    void addBrevantoType(const QString& keyword, int number);
    // Number of a keyword (0 when unknown) and keyword of a number (empty when unknown).
    int dataType(const QString& keyword) const;
    QString dataTypeName(int number) const;

    // Bytes a data type reads at the start byte (0 for types that read nothing).
    static int dataTypeWidth(int type);

    double getDouble(const RecordEntry& entry, const ProfileParameter& parameter, bool scaled) const;
    double getDouble(const RecordEntry& entry, bool scaled) const;
    int getInt(const RecordEntry& entry, const ProfileParameter& parameter) const;
    int getInt(const RecordEntry& entry) const;
    int getState(const RecordEntry& entry, const ProfileParameter& parameter) const;
    // For many messages of one parameter: its threshold levels (limit as
    // getState scales it, state), looked up once; empty when the parameter
    // has no threshold, whose states are then all OK.
    using StateLevels = std::vector<std::pair<double, int>>;
    StateLevels stateLevels(const ProfileParameter& parameter) const;
    // getState with the levels of stateLevels.
    static int getState(const RecordEntry& entry, const ProfileParameter& parameter, const StateLevels& levels);
    QString getDataString(const RecordEntry& entry, const ProfileParameter& parameter, QColor& colour) const;
    QString getEnumValue(int enumId, int value) const;

    // The parameter filed under a CAN id (the last one of the file), or null.
    const ProfileParameter* parameterByCanId(int canId) const;

private:
    Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    void readUnits(const QDomElement& list);
    void readEnums(const QDomElement& list);
    void readThresholds(const QDomElement& list);
    void readDevice(const QDomElement& element);
    bool readParameter(const QDomElement& element, const QString& deviceName, ProfileParameter& parameter);
    bool checkParameter(const ProfileParameter& parameter) const;

    ProfileInfo mInfo;
    std::map<QString, int> mTypeByKeyword;
    std::map<int, QString> mKeywordByType;
    std::map<QString, int> mEnumByName;
    std::map<QString, int> mThresholdByName;
    KmlInfo mKml;
    std::map<int, ProfileParameter> mByCanId;
    ProfileParameter mZeroParameter;

    int mEnumCounter = 1;
    int mThresholdCounter = 1;
    int mDeviceCounter = 1;
};

} // namespace KAVO

#endif
