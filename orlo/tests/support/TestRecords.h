#ifndef ORLO_TESTRECORDS_H
#define ORLO_TESTRECORDS_H

#include "RecordFileBytes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace KAVO {
class Record;
struct RecordEntry;
struct KmlExportOptions;
}

namespace testsupport {

// Writes each file into the folder and reads them all, in this order, into the recording.
using TestFile = std::pair<QString, std::vector<TestMessage>>;
bool loadRecording(KAVO::Record& record, const QString& folder, const std::vector<TestFile>& files,
                   bool bigEndian = true, const TestHeader& header = TestHeader());

// Files a decoded message into the recording as the reader does: into its
// id list (whose high-file flag it sets), the raw list, the message count
// and the recording's time span.
void fileEntry(KAVO::Record& record, const KAVO::RecordEntry& entry);

// Expects the KML export's default look and folder in the options: track
// step, line, polygon, placemark and exceedance styles (not the placemark
// interval, whose default differs between the options and the wizard).
void expectDefaultKmlLook(const KAVO::KmlExportOptions& o);

// Writes the profile text into the folder under this name and loads it into
// the profile singleton; what the loader prints is swallowed.
bool loadProfileText(const QString& folder, const QByteArray& xml, const QString& name = "profile.xml");

// The profile of the export tests: device "Dev" with A, B (FLOAT, no unit),
// Speed (FLOAT, "rpm"), Mode (BLONG with enumeration labels holding ';', ','
// and '"'), device "GPS" with Latitude, Longitude, Altitude (FLOAT, channel 1
// ids 0x300..0x302, KML roles). Loaded into the profile singleton.
bool loadExportProfile(const QString& folder);

// Selects exactly the named parameters (names without the device).
void selectParameters(const std::vector<QString>& names);

// CAN ids of the export test profile.
enum ExportIds : uint32_t { IdA = 0x10, IdB = 0x11, IdSpeed = 0x12, IdMode = 0x13, IdLat = 0x300, IdLon = 0x301,
                            IdAlt = 0x302 };

} // namespace testsupport

#endif
