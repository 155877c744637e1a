#include "Profile.h"

#include "ByteOrder.h"
#include "Notifier.h"

#include <QDomNode>
#include <QtEndian>

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace KAVO {

namespace {

constexpr int RecordBytes = RecordEntry::RecordSize;

// The entry's 28 record bytes, read as bytes; the entry is never touched.
struct RecordCopy
{
    explicit RecordCopy(const RecordEntry& entry) : bytes(reinterpret_cast<const unsigned char*>(&entry)) {}

    const unsigned char* bytes;
};

// Whether width bytes from start lie inside the record.
inline bool fits(int start, int width)
{
    return start >= 0 && width >= 0 && start <= RecordBytes - width;
}

// Message values are big-endian (the same as swap4 and swap2 give, inline:
// the decoders run once per value shown).
inline uint32_t readU32(const RecordCopy& r, int start)
{
    return qFromBigEndian<uint32_t>(r.bytes + start);
}

inline uint16_t readU16(const RecordCopy& r, int start)
{
    return qFromBigEndian<uint16_t>(r.bytes + start);
}

inline float readFloat(const RecordCopy& r, int start)
{
    const uint32_t u = readU32(r, start);
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

// (word >> start bit) masked to the field's bits; 0 for an empty or
// impossible range, so that no shift ever reaches the word's width.
inline uint32_t bitField(uint32_t word, int startBit, int endBit, int wordBits)
{
    const int count = endBit - startBit + 1;
    if (startBit < 0 || startBit >= wordBits || endBit >= wordBits || count <= 0)
        return 0;
    const uint32_t mask = count >= 32 ? 0xFFFFFFFFu : ((1u << count) - 1u);
    return (word >> startBit) & mask;
}

inline bool isCharType(int type)
{
    return type == Profile::TYPE_CHAR || type == Profile::TYPE_CHAR_4 || type == Profile::TYPE_CHAR_2 ||
           type == Profile::TYPE_CHAR_3;
}

inline bool isUCharType(int type)
{
    return type == Profile::TYPE_UCHAR || type == Profile::TYPE_UCHAR_4 || type == Profile::TYPE_UCHAR_2 ||
           type == Profile::TYPE_UCHAR_3;
}

inline double scale(double raw, const ProfileParameter& p)
{
    return raw * p.mFactor + p.mOffset;
}

// Truncates toward zero to a 32-bit integer; what lies beyond its range
// takes the nearer end, NaN gives 0 (a plain cast would be undefined).
inline int32_t truncateToInt32(double v)
{
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

// A double as a standard stream prints it in general notation with 12
// significant digits, independent of the locale.
QString formatGeneral(double v)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), v, std::chars_format::general, 12);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

bool readLong48(const RecordCopy& r, int start, double& value)
{
    if (!fits(start, 6))
        return false;
    uint64_t v = 0;
    for (int i = 0; i < 6; ++i)
        v = (v << 8) | r.bytes[start + i];
    value = static_cast<double>(v);
    return true;
}

// Integer types decoded alike: the raw value of LONG, ULONG, the SHORT and
// USHORT pairs and the CHAR and UCHAR families. False for every other type
// or when the value lies outside the record.
bool readInteger(const RecordCopy& r, int type, int start, long long& value)
{
    switch (type) {
    case Profile::TYPE_LONG:
        if (!fits(start, 4))
            return false;
        value = static_cast<int32_t>(readU32(r, start));
        return true;
    case Profile::TYPE_ULONG:
        if (!fits(start, 4))
            return false;
        value = readU32(r, start);
        return true;
    case Profile::TYPE_SHORT:
    case Profile::TYPE_SHORT_2:
        if (!fits(start, 2))
            return false;
        value = static_cast<int16_t>(readU16(r, start));
        return true;
    case Profile::TYPE_USHORT:
    case Profile::TYPE_USHORT_2:
        if (!fits(start, 2))
            return false;
        value = readU16(r, start);
        return true;
    default:
        break;
    }
    if (isCharType(type) || isUCharType(type)) {
        if (!fits(start, 1))
            return false;
        value = isCharType(type) ? static_cast<long long>(static_cast<int8_t>(r.bytes[start]))
                                 : static_cast<long long>(r.bytes[start]);
        return true;
    }
    return false;
}

} // namespace

Profile* Profile::instance()
{
    static Profile profile;
    return &profile;
}

Profile::Profile()
{
    checkEndian();
    mZeroParameter.mFactor = 0.0;

    addBrevantoType("NODATA", TYPE_NODATA);
    addBrevantoType("ERROR", TYPE_ERROR);
    addBrevantoType("FLOAT", TYPE_FLOAT);
    addBrevantoType("NMEA", TYPE_NMEA);
    addBrevantoType("LONG", TYPE_LONG);
    addBrevantoType("ULONG", TYPE_ULONG);
    addBrevantoType("BLONG", TYPE_BLONG);
    addBrevantoType("SHORT", TYPE_SHORT);
    addBrevantoType("USHORT", TYPE_USHORT);
    addBrevantoType("BSHORT", TYPE_BSHORT);
    addBrevantoType("CHAR", TYPE_CHAR);
    addBrevantoType("UCHAR", TYPE_UCHAR);
    addBrevantoType("BCHAR", TYPE_BCHAR);
    addBrevantoType("SHORT_2", TYPE_SHORT_2);
    addBrevantoType("USHORT_2", TYPE_USHORT_2);
    addBrevantoType("BSHORT_2", TYPE_BSHORT_2);
    addBrevantoType("CHAR_4", TYPE_CHAR_4);
    addBrevantoType("UCHAR_4", TYPE_UCHAR_4);
    addBrevantoType("BCHAR_4", TYPE_BCHAR_4);
    addBrevantoType("CHAR_2", TYPE_CHAR_2);
    addBrevantoType("UCHAR_2", TYPE_UCHAR_2);
    addBrevantoType("BCHAR_2", TYPE_BCHAR_2);
    addBrevantoType("MEMID", TYPE_MEMID);
    addBrevantoType("CHKSUM", TYPE_CHKSUM);
    addBrevantoType("ACHAR", TYPE_ACHAR);
    addBrevantoType("ACHAR_2", TYPE_ACHAR_2);
    addBrevantoType("ACHAR_4", TYPE_ACHAR_4);
    addBrevantoType("CHAR_3", TYPE_CHAR_3);
    addBrevantoType("UCHAR_3", TYPE_UCHAR_3);
    addBrevantoType("BCHAR_3", TYPE_BCHAR_3);
    addBrevantoType("ACHAR_3", TYPE_ACHAR_3);
    addBrevantoType("LONG48", TYPE_LONG48);
}

void Profile::addBrevantoType(const QString& keyword, int number)
{
    mTypeByKeyword[keyword] = number;
    mKeywordByType[number] = keyword;
}

int Profile::dataType(const QString& keyword) const
{
    const auto it = mTypeByKeyword.find(keyword);
    return it == mTypeByKeyword.end() ? 0 : it->second;
}

QString Profile::dataTypeName(int number) const
{
    const auto it = mKeywordByType.find(number);
    return it == mKeywordByType.end() ? QString() : it->second;
}

int Profile::dataTypeWidth(int type)
{
    switch (type) {
    case TYPE_FLOAT:
    case TYPE_NMEA:
    case TYPE_LONG:
    case TYPE_ULONG:
    case TYPE_BLONG:
        return 4;
    case TYPE_SHORT:
    case TYPE_USHORT:
    case TYPE_BSHORT:
    case TYPE_SHORT_2:
    case TYPE_USHORT_2:
        return 2;
    case TYPE_LONG48:
        return 6;
    default:
        return isCharType(type) || isUCharType(type) ? 1 : 0;
    }
}

// ---------------------------------------------------------------- loading

void Profile::clear()
{
    mInfo.clear();
    mEnumByName.clear();
    mThresholdByName.clear();
    mByCanId.clear();
    mKml = KmlInfo();
}

bool Profile::loadProfile(const QString& path)
{
    clear();

    QDomDocument document;
    const bool read = xmlReadFile(document, path);
    const QDomElement root = document.documentElement();
    if (!read || root.tagName() != QLatin1String("BrevantoProfile")) {
        // An empty parameter tree alone would not tell the user why.
        Notifier::Report report;
        report.problem = Notifier::Problem::ProfileNotRead;
        report.path = path;
        if (read) {
            report.detail = QStringLiteral("the root element <%1> is not <BrevantoProfile>").arg(root.tagName());
            report.line = root.lineNumber();
            report.column = root.columnNumber();
            printf("Profile <%s>: %s\n", path.toLocal8Bit().constData(), report.detail.toLocal8Bit().constData());
        } else {
            report.detail = xmlReadError().text;
            report.line = xmlReadError().line;
            report.column = xmlReadError().column;
        }
        Notifier::report(report);
        return false;
    }

    printf("Load profile <%s> %d\n", path.toLocal8Bit().constData(), read ? 1 : 0);
    mInfo.mName = xmlGetStringAttribute(root.attributes(), "name", QString());

    mEnumCounter = 1;
    mThresholdCounter = 1;
    mDeviceCounter = 1;
    // One pass in file order: an enumeration or threshold set can only be
    // named by the devices that follow it.
    for (QDomElement child = root.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("UnitList"))
            readUnits(child);
        else if (tag == QLatin1String("EnumList"))
            readEnums(child);
        else if (tag == QLatin1String("ThresholdList"))
            readThresholds(child);
        else if (tag == QLatin1String("Device"))
            readDevice(child);
    }
    return true;
}

void Profile::readUnits(const QDomElement& list)
{
    for (QDomElement e = list.firstChildElement("Unit"); !e.isNull(); e = e.nextSiblingElement("Unit")) {
        const QDomNamedNodeMap a = e.attributes();
        const int code = xmlGetIntAttribute(a, "code", 0);
        mInfo.mUnits[code] = ProfileUnit(code, xmlGetStringAttribute(a, "acronym", QString()),
                                         xmlGetStringAttribute(a, "name", QString()));
    }
}

void Profile::readEnums(const QDomElement& list)
{
    for (QDomElement e = list.firstChildElement("Enum"); !e.isNull(); e = e.nextSiblingElement("Enum")) {
        ProfileEnum en(mEnumCounter++, xmlGetStringAttribute(e.attributes(), "name", QString()));
        for (QDomElement v = e.firstChildElement("Value"); !v.isNull(); v = v.nextSiblingElement("Value")) {
            const QDomNamedNodeMap a = v.attributes();
            const int value = xmlGetIntAttribute(a, "val", 0);
            en.mValues.erase(value);
            en.mValues.emplace(value, ProfileEnumValue(value, xmlGetStringAttribute(a, "label", QString())));
        }
        mEnumByName[en.mName] = en.mId;
        const int id = en.mId;
        mInfo.mEnums.erase(id);
        mInfo.mEnums.emplace(id, std::move(en));
    }
}

void Profile::readThresholds(const QDomElement& list)
{
    for (QDomElement e = list.firstChildElement("Threshold"); !e.isNull();
         e = e.nextSiblingElement("Threshold")) {
        ProfileThr thr(mThresholdCounter++, xmlGetStringAttribute(e.attributes(), "name", QString()));
        for (QDomElement v = e.firstChildElement("Value"); !v.isNull(); v = v.nextSiblingElement("Value")) {
            const QDomNamedNodeMap a = v.attributes();
            const QString colourName = xmlGetStringAttribute(a, "color", QString());
            const QString stateName = xmlGetStringAttribute(a, "state", QString());
            int state = ProfileThrValue::OK;
            if (stateName == QLatin1String("WARNING"))
                state = ProfileThrValue::WARNING;
            else if (stateName == QLatin1String("LIMIT"))
                state = ProfileThrValue::LIMIT;
            const QColor colour = colourName.isEmpty() ? QColor() : QColor(colourName);
            thr.mValues.emplace_back(xmlGetDoubleAttribute(a, "val", 0.0), colour, state);
        }
        mThresholdByName[thr.mName] = thr.mId;
        const int id = thr.mId;
        mInfo.mThresholds.erase(id);
        mInfo.mThresholds.emplace(id, std::move(thr));
    }
}

void Profile::readDevice(const QDomElement& element)
{
    ProfileDevice device(mDeviceCounter++, xmlGetStringAttribute(element.attributes(), "name", QString()));
    for (QDomElement child = element.firstChildElement(); !child.isNull(); child = child.nextSiblingElement()) {
        const QString tag = child.tagName();
        if (tag == QLatin1String("ErrorMatrix")) {
            const QDomNamedNodeMap a = child.attributes();
            mInfo.mFaultMatrices.emplace_back(xmlGetIntAttribute(a, "id", 0),
                                              xmlGetStringAttribute(a, "name", QString()));
        } else if (tag == QLatin1String("Parameter")) {
            ProfileParameter p;
            if (!readParameter(child, device.mName, p))
                continue;
            device.mParameters.emplace(p.mUid, p);
            mByCanId.erase(p.mCanId);
            mByCanId.emplace(p.mCanId, p);
            for (FaultMatrix& matrix : mInfo.mFaultMatrices) {
                if (matrix.mId != p.mCanId)
                    continue;
                matrix.mParameters.erase(p.mStartBit);
                matrix.mParameters.emplace(p.mStartBit, p);
            }
        }
    }
    const int id = device.mId;
    mInfo.mDevices.erase(id);
    mInfo.mDevices.emplace(id, std::move(device));
}

bool Profile::readParameter(const QDomElement& element, const QString& deviceName, ProfileParameter& p)
{
    const QDomNamedNodeMap a = element.attributes();
    p.mName = xmlGetStringAttribute(a, "name", QString());
    p.mFullName = deviceName + "/" + p.mName;
    p.mUnit = xmlGetStringAttribute(a, "unit", QString());
    p.mViewId = xmlGetStringAttribute(a, "viewId", QString());
    p.mCanId = xmlGetIntAttribute(a, "id", 0);
    p.mStartByte = xmlGetIntAttribute(a, "startByte", 0);
    p.mStartBit = xmlGetIntAttribute(a, "startBit", 0);
    p.mEndBit = xmlGetIntAttribute(a, "endBit", 0);
    p.mChannel = xmlGetIntAttribute(a, "channel", 0);
    p.mOffset = xmlGetDoubleAttribute(a, "offset", 0.0);
    p.mFactor = xmlGetDoubleAttribute(a, "factor", 1.0);
    p.mDataType = dataType(xmlGetStringAttribute(a, "dataType", QString()));

    const auto en = mEnumByName.find(xmlGetStringAttribute(a, "enumId", QString()));
    p.mEnumId = en == mEnumByName.end() ? 0 : en->second;
    const auto thr = mThresholdByName.find(xmlGetStringAttribute(a, "thresholdId", QString()));
    p.mThresholdId = thr == mThresholdByName.end() ? 0 : thr->second;

    const QString errorType = xmlGetStringAttribute(a, "errorType", QString());
    if (errorType == QLatin1String("Info"))
        p.mErrorType = ProfileParameter::ErrorInfo;
    else if (errorType == QLatin1String("Warning"))
        p.mErrorType = ProfileParameter::ErrorWarning;
    else if (errorType == QLatin1String("Fault"))
        p.mErrorType = ProfileParameter::ErrorFault;
    else
        p.mErrorType = ProfileParameter::ErrorNone;

    if (!checkParameter(p))
        return false;

    const QString kml = xmlGetStringAttribute(a, "kmlId", QString());
    if (kml == QLatin1String("Latitude")) {
        mKml.latitudeChannel = p.mChannel;
        mKml.latitudeId = p.mCanId;
    } else if (kml == QLatin1String("Longitude")) {
        mKml.longitudeChannel = p.mChannel;
        mKml.longitudeId = p.mCanId;
    } else if (kml == QLatin1String("Altitude")) {
        mKml.altitudeChannel = p.mChannel;
        mKml.altitudeId = p.mCanId;
    }
    return true;
}

// A value must lie inside the 28-byte record and a bit field inside its
// word; anything else is left out of the model, so that no decoder reads
// past the record.
bool Profile::checkParameter(const ProfileParameter& p) const
{
    const QByteArray name = p.mFullName.toLocal8Bit();
    const int width = dataTypeWidth(p.mDataType);
    if (!fits(p.mStartByte, width)) {
        printf("Parameter <%s> start byte %d width %d lies outside the %d-byte record, ignored\n",
               name.constData(), p.mStartByte, width, RecordBytes);
        return false;
    }
    if (p.mDataType == TYPE_BLONG || p.mDataType == TYPE_BSHORT) {
        const int bits = p.mDataType == TYPE_BLONG ? 32 : 16;
        // An empty range (end bit just below start bit) is allowed and reads 0.
        if (p.mStartBit < 0 || p.mStartBit >= bits || p.mEndBit >= bits || p.mEndBit < p.mStartBit - 1) {
            printf("Parameter <%s> bits %d to %d do not fit a %d-bit word, ignored\n", name.constData(),
                   p.mStartBit, p.mEndBit, bits);
            return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------- decoding

const ProfileParameter* Profile::parameterByCanId(int canId) const
{
    const auto it = mByCanId.find(canId);
    return it == mByCanId.end() ? nullptr : &it->second;
}

double Profile::getDouble(const RecordEntry& entry, const ProfileParameter& p, bool scaled) const
{
    const RecordCopy r(entry);
    const int type = p.mDataType;
    const int start = p.mStartByte;

    switch (type) {
    case TYPE_FLOAT: {
        if (!fits(start, 4))
            return 0.0;
        const double v = readFloat(r, start);
        return scaled ? scale(v, p) : v;
    }
    case TYPE_BLONG:
        return fits(start, 4) ? static_cast<double>(bitField(readU32(r, start), p.mStartBit, p.mEndBit, 32)) : 0.0;
    case TYPE_BSHORT:
        return fits(start, 2) ? static_cast<double>(bitField(readU16(r, start), p.mStartBit, p.mEndBit, 16)) : 0.0;
    case TYPE_LONG48: {
        double v = 0.0;
        if (!readLong48(r, start, v))
            return 0.0;
        return scaled ? scale(v, p) : v;
    }
    case TYPE_NMEA: {
        if (!fits(start, 4))
            return 0.0;
        double v = readFloat(r, start);
        if (scaled)
            v = scale(v, p);
        const double x = v * 0.01;
        const double d = std::trunc(x);
        return (x - d) / 0.6 + d;
    }
    default:
        break;
    }

    long long raw = 0;
    if (!readInteger(r, type, start, raw))
        return 0.0;
    // Integers pass through single precision, as the recorder's tools do.
    const double v = static_cast<float>(raw);
    return scaled ? scale(v, p) : v;
}

double Profile::getDouble(const RecordEntry& entry, bool scaled) const
{
    const ProfileParameter* p = parameterByCanId(static_cast<int>(entry.canId));
    return p ? getDouble(entry, *p, scaled) : 0.0;
}

int Profile::getInt(const RecordEntry& entry, const ProfileParameter& p) const
{
    const RecordCopy r(entry);
    const int messageType = r.bytes[1];
    const int start = p.mStartByte;

    switch (messageType) {
    case TYPE_LONG:
    case TYPE_ULONG:
        return fits(start, 4) ? static_cast<int32_t>(readU32(r, start)) : 0;
    case TYPE_BLONG:
        return fits(start, 4) ? static_cast<int32_t>(bitField(readU32(r, start), p.mStartBit, p.mEndBit, 32)) : 0;
    case TYPE_SHORT:
    case TYPE_SHORT_2:
        return fits(start, 2) ? static_cast<int16_t>(readU16(r, start)) : 0;
    case TYPE_USHORT:
    case TYPE_USHORT_2:
        return fits(start, 2) ? readU16(r, start) : 0;
    case TYPE_BSHORT:
        return fits(start, 2) ? static_cast<int>(bitField(readU16(r, start), p.mStartBit, p.mEndBit, 16)) : 0;
    default:
        break;
    }
    if (isCharType(messageType))
        return fits(start, 1) ? static_cast<int8_t>(r.bytes[start]) : 0;
    if (isUCharType(messageType))
        return fits(start, 1) ? r.bytes[start] : 0;
    return 0;
}

int Profile::getInt(const RecordEntry& entry) const
{
    const ProfileParameter* p = parameterByCanId(static_cast<int>(entry.canId));
    return getInt(entry, p ? *p : mZeroParameter);
}

int Profile::getState(const RecordEntry& entry, const ProfileParameter& p) const
{
    return getState(entry, p, stateLevels(p));
}

Profile::StateLevels Profile::stateLevels(const ProfileParameter& p) const
{
    StateLevels levels;
    const auto thr = mInfo.mThresholds.find(p.mThresholdId);
    if (thr == mInfo.mThresholds.end())
        return levels;
    for (const ProfileThrValue& v : thr->second.mValues)
        levels.emplace_back(scale(v.mLimit, p), v.mState);
    return levels;
}

int Profile::getState(const RecordEntry& entry, const ProfileParameter& p, const StateLevels& levels)
{
    if (entry.data[1] != TYPE_FLOAT || levels.empty())
        return ProfileThrValue::OK;
    // The message data, whatever the parameter's start byte.
    const RecordCopy r(entry);
    const float s = static_cast<float>(scale(readFloat(r, 4), p));
    int state = ProfileThrValue::OK;
    for (const auto& level : levels) {
        if (level.first > s)
            break;
        state = level.second;
    }
    return state;
}

QString Profile::getDataString(const RecordEntry& entry, const ProfileParameter& p, QColor& colour) const
{
    const RecordCopy r(entry);
    const int type = p.mDataType;
    const int start = p.mStartByte;

    // The colour of the last level whose scaled limit the value reaches.
    auto colourOf = [&](double shown) {
        colour = QColor(255, 255, 255, 255);
        const auto thr = mInfo.mThresholds.find(p.mThresholdId);
        if (thr == mInfo.mThresholds.end())
            return;
        for (const ProfileThrValue& v : thr->second.mValues) {
            if (scale(v.mLimit, p) > shown)
                break;
            colour = v.mColor;
        }
    };

    switch (type) {
    case TYPE_FLOAT:
    case TYPE_NMEA: {
        float s = fits(start, 4) ? static_cast<float>(scale(readFloat(r, start), p)) : 0.0f;
        if (type == TYPE_NMEA) {
            const float y = static_cast<float>(s * 0.01);
            const float t = std::trunc(y);
            s = static_cast<float>((y - t) / 0.6 + t);
        }
        colourOf(s);
        return formatGeneral(s);
    }
    case TYPE_LONG48: {
        double v = 0.0;
        readLong48(r, start, v);
        v = scale(v, p);
        colourOf(v);
        return formatGeneral(v);
    }
    case TYPE_LONG:
    case TYPE_ULONG:
    case TYPE_SHORT:
    case TYPE_SHORT_2:
    case TYPE_USHORT:
    case TYPE_USHORT_2: {
        long long raw = 0;
        readInteger(r, type, start, raw);
        const double v = scale(static_cast<double>(raw), p);
        colourOf(v);
        return formatGeneral(v);
    }
    case TYPE_BLONG:
    case TYPE_BSHORT: {
        const uint32_t v = type == TYPE_BLONG
                               ? (fits(start, 4) ? bitField(readU32(r, start), p.mStartBit, p.mEndBit, 32) : 0)
                               : (fits(start, 2) ? bitField(readU16(r, start), p.mStartBit, p.mEndBit, 16) : 0);
        colour = QColor(255, 255, 255, 255);
        // Printed unsigned: a field that holds bit 31 is no negative number.
        const QString number = QString::number(v);
        const auto en = mInfo.mEnums.find(p.mEnumId);
        const ProfileEnumValue* label = en == mInfo.mEnums.end() ? nullptr : en->second.find(v);
        if (type == TYPE_BLONG) {
            if (en == mInfo.mEnums.end())
                return number + QStringLiteral(": Invalid ENUM Type");
            if (!label)
                return number + QStringLiteral(": Invalid ENUM Value");
        } else if (!label) {
            return number;
        }
        return number + QStringLiteral(": ") + label->mLabel;
    }
    default:
        break;
    }

    if (isCharType(type) || isUCharType(type)) {
        long long raw = 0;
        readInteger(r, type, start, raw);
        const double scaled = scale(static_cast<double>(static_cast<float>(raw)), p);
        // Truncated to an integer, then its low 8 bits as the type's byte:
        // 400 shows as 144, 254 as a CHAR as -2.
        const uint8_t low = static_cast<uint8_t>(static_cast<uint32_t>(truncateToInt32(scaled)) & 0xFFu);
        const int n = isCharType(type) ? static_cast<int>(static_cast<int8_t>(low)) : static_cast<int>(low);
        colourOf(n);
        return QString::number(n);
    }

    colour = QColor(255, 255, 255, 255);
    return QStringLiteral("Datatype %1 not implemented").arg(static_cast<int>(r.bytes[1]));
}

QString Profile::getEnumValue(int enumId, int value) const
{
    Q_UNUSED(enumId);
    Q_UNUSED(value);
    return QString();
}

} // namespace KAVO
