#include "ExportKml.h"

#include "Notifier.h"
#include "Profile.h"
#include "Record.h"

#include <QColor>
#include <QDomProcessingInstruction>
#include <QTime>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace KAVO {

namespace {

// (int) of a quotient, refused when it does not fit: a message far off the
// recording's scale has no bucket instead of an undefined one.
bool toBucket(double q, int32_t& bucket)
{
    if (!(q > -2147483649.0 && q < 2147483648.0))
        return false;
    bucket = static_cast<int32_t>(q);
    return true;
}

// "hh:mm:ss" of a number of milliseconds, wrapping at 24 hours.
QString timeOfDay(float ms)
{
    const double m = ms;
    const int64_t v = std::isfinite(m) && std::fabs(m) < 9.0e18 ? static_cast<int64_t>(m) : 0;
    return RecordData::timeOfDay(v).toString("hh:mm:ss");
}

// Red, green and blue of six hexadecimal digits; what does not read is black.
void rgbOf(const QByteArray& colour, int& r, int& g, int& b)
{
    bool ok = false;
    uint32_t v = colour.toUInt(&ok, 16);
    if (!ok)
        v = 0;
    r = (v >> 16) & 0xff;
    g = (v >> 8) & 0xff;
    b = v & 0xff;
}

// KML writes colours as alpha, blue, green, red.
QByteArray kmlColour(const QByteArray& colour, int alpha)
{
    int r, g, b;
    rgbOf(colour, r, g, b);
    alpha = std::min(255, std::max(0, alpha));
    return QString::asprintf("%02x%02x%02x%02x", alpha, b, g, r).toLatin1();
}

QByteArray coordinates(double lon, double lat, double alt)
{
    return QString::asprintf("%.8f,%.8f,%.1f", lon, lat, alt).toLatin1();
}

} // namespace

bool ExportKml::exportData(Record& record, KmlExportOptions& options)
{
    if (options.timeStamp <= 0) {
        printf("KML export: time step <%d> ms is not above 0\n", options.timeStamp);
        return false;
    }
    if (options.placeMarkOn && options.placeMarkInterval <= 0) {
        printf("KML export: placemark interval <%d> is not above 0\n", options.placeMarkInterval);
        return false;
    }
    mTimeStep = static_cast<float>(options.timeStamp * 0.001);
    // An invalid header date gives an empty text, so a bare document name.
    mName = record.recordInfo().dateTime.toString("d.M.yyyy h:mm:ss");

    // The document is built whole in memory; the status bar shows the stages.
    Notifier::progress(0);
    fillTrack(record, options);
    Notifier::progress(30);
    exportPlaceMarks(record, options);
    Notifier::progress(60);
    exportErrors(record, options);
    Notifier::progress(70);
    return exportFile(options);
}

void ExportKml::fillTrack(Record& record, const KmlExportOptions& options)
{
    mExportData.clear();
    const Profile* profile = Profile::instance();
    const RecordData& data = record.recordData();
    const Profile::KmlInfo& kml = profile->kmlInfo();
    struct Role
    {
        int channel;
        int id;
        double KmlExportData::*component;
    };
    const Role roles[3] = {{kml.latitudeChannel, kml.latitudeId, &KmlExportData::lat},
                           {kml.longitudeChannel, kml.longitudeId, &KmlExportData::lon},
                           {kml.altitudeChannel, kml.altitudeId, &KmlExportData::alt}};
    const double step = mTimeStep;

    for (const Role& role : roles) {
        // A role that no parameter takes has nothing to decode.
        if (!profile->parameterByCanId(role.id))
            continue;
        const RecordIdList& list =
            data.idList(static_cast<uint32_t>(role.channel), static_cast<uint32_t>(role.id));
        for (const RecordEntry& entry : list.entries) {
            const double t = data.timeOf(list, entry);
            if (!(options.startTime <= t && t <= options.stopTime))
                continue;
            int32_t bucket = 0;
            if (!toBucket(t / step, bucket))
                continue;
            mExportData[bucket].*role.component = profile->getDouble(entry, true);
        }
    }

    // Forward fill: a missing component takes the value of the point before.
    const KmlExportData* before = nullptr;
    for (auto& point : mExportData) {
        KmlExportData& p = point.second;
        if (before) {
            if (KmlExportData::missing(p.lat))
                p.lat = before->lat;
            if (KmlExportData::missing(p.lon))
                p.lon = before->lon;
            if (KmlExportData::missing(p.alt))
                p.alt = before->alt;
        }
        before = &p;
    }
    // Backward fill: what is still missing at the start takes the value after.
    const KmlExportData* after = nullptr;
    for (auto it = mExportData.rbegin(); it != mExportData.rend(); ++it) {
        KmlExportData& p = it->second;
        if (after) {
            if (KmlExportData::missing(p.lat))
                p.lat = after->lat;
            if (KmlExportData::missing(p.lon)) {
                p.lon = after->lon;
                printf("new lons %f\n", p.lon);
            }
            if (KmlExportData::missing(p.alt))
                p.alt = after->alt;
        }
        after = &p;
    }
}

bool ExportKml::exportPlaceMarks(Record& record, KmlExportOptions& options)
{
    mExportPlacemark.clear();
    if (!options.placeMarkOn)
        return true;
    const int n = options.placeMarkInterval;
    if (n <= 0)
        return true;
    const Profile* profile = Profile::instance();
    const RecordData& data = record.recordData();
    const double step = mTimeStep;
    QColor colour;

    for (const auto& device : Profile::instance()->data().mDevices) {
        for (const auto& item : device.second.mParameters) {
            const ProfileParameter& parameter = item.second;
            if (!parameter.mSelected)
                continue;
            const QByteArray name = parameter.mName.toUtf8();
            const QByteArray unit = parameter.mUnit.toUtf8();
            const RecordIdList& list =
                data.idList(static_cast<uint32_t>(parameter.mChannel), static_cast<uint32_t>(parameter.mCanId));
            // Of the parameter's messages in a placemark only the last one
            // on the track shows (its value, and its bucket as the position);
            // so each group decodes once.
            std::map<int32_t, std::pair<std::size_t, int32_t>> last;   // group: message, bucket
            auto hint = last.end();
            for (std::size_t i = 0; i < list.entries.size(); ++i) {
                const double b = data.timeOf(list, list.entries[i]) / step;
                int32_t bucket = 0;
                int32_t group = 0;
                if (!toBucket(b, bucket) || !toBucket(b / n, group))
                    continue;
                // A message off the track is left out on its own; what the
                // placemark gathered from other messages stays.
                if (mExportData.find(bucket) == mExportData.end())
                    continue;
                if (hint == last.end() || hint->first != group)
                    hint = last.emplace(group, std::make_pair(i, bucket)).first;
                hint->second = std::make_pair(i, bucket);
            }
            for (const auto& found : last) {
                const int32_t group = found.first;
                const KmlExportData& point = mExportData.at(found.second.second);
                KmlExportPlacemark& mark = mExportPlacemark[group];
                mark.lat = point.lat;
                mark.lon = point.lon;
                mark.alt = point.alt;
                if (mark.time.isEmpty())
                    mark.time =
                        timeOfDay(static_cast<float>(group) * mTimeStep * static_cast<float>(n) * 1000.0f);
                QByteArray value = profile->getDataString(list.entries[found.second.first], parameter, colour).toUtf8();
                if (!unit.isEmpty())
                    value += " [" + unit + "]";
                KmlExportPlacemarkEntry& e = mark.entries[name];
                e.name = name;
                e.value = value;
            }
        }
    }
    printf("mExportPlacemark size %d step %d\n", static_cast<int>(mExportPlacemark.size()), n);
    return true;
}

void ExportKml::addError(std::map<int32_t, KmlExportError>& marks, double time, const QByteArray& name,
                         const QByteArray& value)
{
    // The events carry the time on the recording's common timeline already.
    int32_t bucket = 0;
    if (!toBucket(time / static_cast<double>(mTimeStep), bucket))
        return;
    const auto point = mExportData.find(bucket);
    if (point == mExportData.end())
        return;
    KmlExportError& mark = marks[bucket];
    mark.lat = point->second.lat;
    mark.lon = point->second.lon;
    mark.alt = point->second.alt;
    mark.time = timeOfDay(static_cast<float>(bucket) * mTimeStep * 1000.0f);
    mark.entries.push_back(KmlExportPlacemarkEntry{name, value});
}

bool ExportKml::exportErrors(Record& record, KmlExportOptions& options)
{
    mExportLimit.clear();
    mExportWarning.clear();
    if (!options.errorMarkOn)
        return true;
    const RecordData& data = record.recordData();
    if (options.showLimit) {
        for (const RecordLimit& event : data.limits)
            addError(mExportLimit, event.time, event.name, event.value);
    }
    if (options.showWarning) {
        for (const RecordWarning& event : data.warnings)
            addError(mExportWarning, event.time, event.name, event.value);
    }
    return true;
}

QDomText ExportKml::addData(QDomDocument& document, QDomElement& parent, const QString& name,
                            const QByteArray& value)
{
    QDomElement e = mXml.xmlCreateElement(document, parent, name);
    return mXml.xmlCreateTextElement(document, e, QString::fromUtf8(value));
}

void ExportKml::addStyle(QDomDocument& document, QDomElement& parent, const char* id, const QByteArray& colour)
{
    QDomElement style = mXml.xmlCreateElement(document, parent, "Style");
    mXml.xmlCreateAttribute(document, style, "id", id);
    QDomElement label = mXml.xmlCreateElement(document, style, "LabelStyle");
    addData(document, label, "color", "ffffffff");
    QDomElement icon = mXml.xmlCreateElement(document, style, "IconStyle");
    addData(document, icon, "color", kmlColour(colour, 255));
}

void ExportKml::addPlacemark(QDomDocument& document, QDomElement& parent, const QString& time, const char* style,
                             const std::vector<const KmlExportPlacemarkEntry*>& entries, double lat, double lon,
                             double alt)
{
    QDomElement mark = mXml.xmlCreateElement(document, parent, "Placemark");
    addData(document, mark, "name", time.toUtf8());
    addData(document, mark, "styleUrl", QByteArray("#") + style);
    QDomElement extended = mXml.xmlCreateElement(document, mark, "ExtendedData");
    for (const KmlExportPlacemarkEntry* entry : entries) {
        QDomElement d = mXml.xmlCreateElement(document, extended, "Data");
        addData(document, d, "displayName", "<b>" + entry->name + "</b>");
        addData(document, d, "value", entry->value);
    }
    QDomElement point = mXml.xmlCreateElement(document, mark, "Point");
    addData(document, point, "altitudeMode", "absolute");
    addData(document, point, "coordinates", coordinates(lon, lat, alt));
}

bool ExportKml::exportFile(KmlExportOptions& options)
{
    QDomDocument document;
    document.appendChild(document.createProcessingInstruction("xml", "version=\"1.0\" encoding=\"UTF-8\""));
    QDomElement kml = mXml.xmlCreateElement(document, document, "kml");
    QDomElement doc = mXml.xmlCreateElement(document, kml, "Document");
    addData(document, doc, "name", "ORLO Flightpath " + mName.toUtf8());
    addStyle(document, doc, "normalPlacemark", options.placeMarkColor);
    addStyle(document, doc, "errorPlacemark", options.errorMarkColor);

    std::vector<const KmlExportPlacemarkEntry*> entries;
    for (const auto& item : mExportPlacemark) {
        const KmlExportPlacemark& mark = item.second;
        entries.clear();
        for (const auto& e : mark.entries)
            entries.push_back(&e.second);
        addPlacemark(document, doc, mark.time, "normalPlacemark", entries, mark.lat, mark.lon, mark.alt);
    }
    for (const auto* marks : {&mExportLimit, &mExportWarning}) {
        for (const auto& item : *marks) {
            const KmlExportError& mark = item.second;
            entries.clear();
            for (const KmlExportPlacemarkEntry& e : mark.entries)
                entries.push_back(&e);
            addPlacemark(document, doc, mark.time, "errorPlacemark", entries, mark.lat, mark.lon, mark.alt);
        }
    }

    QDomElement track = mXml.xmlCreateElement(document, doc, "Placemark");
    QDomElement style = mXml.xmlCreateElement(document, track, "Style");
    QDomElement line = mXml.xmlCreateElement(document, style, "LineStyle");
    addData(document, line, "color", kmlColour(options.lineColor, options.lineAlpha));
    addData(document, line, "width", QByteArray::number(options.lineWidth));
    QDomElement poly = mXml.xmlCreateElement(document, style, "PolyStyle");
    addData(document, poly, "color", kmlColour(options.polygonColor, options.polygonAlpha));
    QDomElement lineString = mXml.xmlCreateElement(document, track, "LineString");
    addData(document, lineString, "extrude", options.polygonOn ? "1" : "0");
    QByteArray points;
    points.reserve(static_cast<int>(mExportData.size()) * 40);
    for (const auto& item : mExportData) {
        const KmlExportData& p = item.second;
        points += coordinates(p.lon, p.lat, p.alt);
        points += '\n';
    }
    addData(document, lineString, "coordinates", points);
    addData(document, lineString, "altitudeMode", "absolute");

    return mXml.xmlWriteFile(document, QString::fromLocal8Bit(options.exportDir) + "/" +
                                           QString::fromLocal8Bit(options.fileName));
}

} // namespace KAVO
