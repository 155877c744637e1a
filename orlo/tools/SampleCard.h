#ifndef ORLO_SAMPLECARD_H
#define ORLO_SAMPLECARD_H

#include <QString>
#include <QStringList>

#include <cstdint>

namespace KAVO {

// Writes a card folder of record files for demonstrations, tests and the
// load benchmark: flights with position, engine values that cross their
// warning and limit thresholds, warning lamps, error-matrix words, date and
// time messages, all laid out as the default profile decodes them.
//
// With n files, files 1 to n-1 ("LOG_0001.CAN" ...) hold one flight each;
// the last flight goes on in the high file "LOG_8001.CAN", whose recorder
// clock started again, and the folder's "Offset.xml" puts it back on the
// timeline of the file before it. One file holds a single flight.
class SampleCard
{
public:
    struct Options
    {
        QString folder = QStringLiteral("sample-card");
        int64_t messages = 400000;   // over all files
        int files = 3;
        bool littleEndian = false;   // the recorder writes big-endian
    };

    explicit SampleCard(const Options& options);

    // False (with a diagnostic) when the folder or a file could not be written.
    bool write();

    const QStringList& files() const { return mFiles; }
    // Offset of the card folder; 0 without a high file.
    double offset() const { return mOffset; }

    // Messages per second of flight.
    static int messagesPerSecond();

private:
    Options mOptions;
    QStringList mFiles;
    double mOffset = 0.0;
};

} // namespace KAVO

#endif
