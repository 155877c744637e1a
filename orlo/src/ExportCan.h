#ifndef ORLO_EXPORTCAN_H
#define ORLO_EXPORTCAN_H

#include "CsvExportOptions.h"

#include <cstdint>

namespace KAVO {

class Record;
class SafeFile;

// Writes the messages of a time window of the recording as a new record
// file of the same format, with the window's start as the new zero of the
// time stamps, so that a cut-out opens again like a file of the card.
class ExportCan
{
public:
    ExportCan() = default;

    // Writes exportDir/fileName: the recording's header with its start time
    // stamp zeroed, then every message whose time (with the folder offset
    // for high files) lies in the window. False (with a diagnostic) when
    // the file could not be written completely.
    bool exportData(Record& record, CsvExportOptions& options);
    // Nothing to do beyond exportData.
    bool writeFile(CsvExportOptions& options);

    // One value in the byte order of the big-endian flag; the result of the write.
    bool putChar(SafeFile& file, int8_t value);
    bool putUChar(SafeFile& file, uint8_t value);
    bool putShort(SafeFile& file, int16_t value);
    bool putUShort(SafeFile& file, uint16_t value);
    bool putInt(SafeFile& file, int32_t value);
    bool putUInt(SafeFile& file, uint32_t value);

    // The byte order the last export wrote its records in.
    bool bigEndian() const { return mBigEndian; }

    // True when a header's byte-order mark makes the reader take the file
    // as big-endian (the reader's rule: the mark in host order decides).
    static bool headerIsBigEndian(const uint8_t* header);

private:
    template <typename T>
    bool putValue(SafeFile& file, T value);

    bool mBigEndian = true;
};

} // namespace KAVO

#endif
