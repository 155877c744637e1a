#ifndef ORLO_TESTRECORDS_H
#define ORLO_TESTRECORDS_H

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

// A message as a test writes it into a record file.
struct TestMessage
{
    uint16_t channel = 0;
    uint32_t canId = 0;
    double time = 0.0;                 // seconds, rounded to the nearest tick
    uint8_t data[8] = {};
    uint8_t auxByteA = 0xA1;
    uint8_t auxByteB = 0xB2;
    uint16_t auxWordA = 0x1122;
    uint16_t auxWordB = 0x3344;
};

// Payload with the message's data-type byte (FLOAT 2, BLONG 5) and a
// big-endian value in data bytes 4 to 7.
TestMessage floatMessage(uint16_t channel, uint32_t canId, double time, float value);
TestMessage wordMessage(uint16_t channel, uint32_t canId, double time, uint32_t value);

// Header fields as they are stored; an impossible date is allowed.
struct TestHeader
{
    int year = 2023;
    int month = 7, day = 14, hour = 9, minute = 41, second = 5;
    double start = 0.5;                // start time stamp, seconds
};

// A record file: the header (the bytes the reader does not interpret hold
// a pattern) and the messages in the given order.
QByteArray recordFileBytes(const std::vector<TestMessage>& messages, bool bigEndian = true,
                           const TestHeader& header = TestHeader());

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
