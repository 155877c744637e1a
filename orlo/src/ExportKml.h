#ifndef ORLO_EXPORTKML_H
#define ORLO_EXPORTKML_H

#include "KmlExportData.h"
#include "KmlExportError.h"
#include "KmlExportOptions.h"
#include "KmlExportPlacemark.h"
#include "XmlHandler.h"

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QDomText>
#include <QString>

#include <cstdint>
#include <map>
#include <vector>

namespace KAVO {

class Record;

// Writes the flight path of a time window of the recording as a KML
// document: the track from the profile's position parameters, value
// placemarks of the selected parameters every few track points, and
// exceedance placemarks at the recording's limit and warning events.
class ExportKml
{
public:
    ExportKml() = default;

    // The whole export; true when the file was written. A time step, or
    // (with placemarks on) a placemark interval, of 0 or less is refused.
    bool exportData(Record& record, KmlExportOptions& options);
    // Build the value and the exceedance placemarks from the track (always true).
    bool exportPlaceMarks(Record& record, KmlExportOptions& options);
    bool exportErrors(Record& record, KmlExportOptions& options);
    // Builds the document and writes it to exportDir/fileName.
    bool exportFile(KmlExportOptions& options);

    // Appends <name>value</name> to the parent and gives its text node.
    QDomText addData(QDomDocument& document, QDomElement& parent, const QString& name, const QByteArray& value);

    // What the last export gathered, by track bucket (value placemarks by group).
    const std::map<int32_t, KmlExportData>& track() const { return mExportData; }
    const std::map<int32_t, KmlExportPlacemark>& placemarks() const { return mExportPlacemark; }
    const std::map<int32_t, KmlExportError>& limitMarks() const { return mExportLimit; }
    const std::map<int32_t, KmlExportError>& warningMarks() const { return mExportWarning; }
    float timeStep() const { return mTimeStep; }
    const QString& name() const { return mName; }

private:
    void fillTrack(Record& record, const KmlExportOptions& options);
    void addError(std::map<int32_t, KmlExportError>& marks, double time, const QByteArray& name,
                  const QByteArray& value);
    void addStyle(QDomDocument& document, QDomElement& parent, const char* id, const QByteArray& colour);
    void addPlacemark(QDomDocument& document, QDomElement& parent, const QString& time, const char* style,
                      const std::vector<const KmlExportPlacemarkEntry*>& entries, double lat, double lon,
                      double alt);

    std::map<int32_t, KmlExportData> mExportData;
    std::map<int32_t, KmlExportPlacemark> mExportPlacemark;
    std::map<int32_t, KmlExportError> mExportLimit;
    std::map<int32_t, KmlExportError> mExportWarning;
    float mTimeStep = 0.1f;   // seconds
    QString mName;
    XmlHandler mXml;
};

} // namespace KAVO

#endif
