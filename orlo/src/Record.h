#ifndef ORLO_RECORD_H
#define ORLO_RECORD_H

#include "RecordData.h"
#include "RecordInfo.h"
#include "RecordRaw.h"
#include "RecordTimeIndex.h"
#include "XmlHandler.h"

#include <QString>
#include <QStringList>

#include <cstdint>

class QIODevice;

namespace KAVO {

// One loaded recording: the identification of its record files, every
// message once in one list sorted by time and, by channel and CAN id, views
// of that list, the record folder's time offset and the event lists of the
// displays.
class Record
{
public:
    Record();
    // The views of a copy (and of a recording moved into place) look at its
    // own message list.
    Record(const Record& other);
    Record(Record&& other) noexcept;
    Record& operator=(const Record& other);
    Record& operator=(Record&& other) noexcept;

    RecordInfo& recordInfo() { return mRecordInfo; }
    const RecordInfo& recordInfo() const { return mRecordInfo; }
    RecordData& recordData() { return mRecordData; }
    const RecordData& recordData() const { return mRecordData; }
    // The raw header of the recording, then all messages sorted by time.
    RecordRaw& rawData() { return mRaw; }
    const RecordRaw& rawData() const { return mRaw; }

    // Reads only the identification of one file (for the card list).
    bool readRecordInfo(const QString& path);
    // Replaces the messages by those of the given files, in this order.
    // A file that cannot be opened, is no regular file, is too big for the
    // memory or cannot be read to its end is skipped and reported, and the
    // others still load; false when a file was skipped or memory ran out.
    // Worker threads share the work; the call returns when all is done, and
    // the progress is reported from the calling thread.
    bool readRecordData(const QStringList& paths);

    // The time keys of the message list by position, for messages of high
    // files too when asked; found again when the list or the offset changed.
    const RecordTimeIndex& timeIndex(bool high) const;

    // Offsets beyond this many seconds either way are refused at load.
    static constexpr double OffsetLimit = 10000.0;
    // Sets the folder offset and writes the offset file at once; the start
    // and stop times follow the new offset. When the file cannot be written
    // the old offset stays, the failure is reported and the result is false.
    bool setOffset(double seconds);
    // Start and stop of the recording on the common timeline (messages of
    // high files at their time plus the folder offset).
    void updateTimeRange();
    // Writes / reads "Offset.xml" of the record directory.
    bool saveOffset();
    bool loadOffset();

    // The offset file of the record directory.
    QString offsetFile() const;
    // Folder of the last file read: where "Offset.xml" lives.
    const QString& recordDirectory() const { return mRecordDirectory; }
    void setRecordDirectory(const QString& directory) { mRecordDirectory = directory; }

    // A file whose name has a hexadecimal number above 0x7FFF at character
    // positions 4 to 7 takes the folder's time offset.
    static bool isHighFile(const QString& path);
    // The path up to its last "/", or "." for a bare file name.
    static QString directoryOf(const QString& path);
    // Records in a file of this size; a partial record at the end does not count.
    static int32_t recordCount(qint64 fileSize);
    // The memory that reading so many records takes at most.
    static qint64 memoryFor(qint64 records);
    // Caps the memory a reading may plan for (tests); 0 takes what the
    // system has available.
    static void setMemoryLimit(qint64 bytes);
    // Worker threads of a reading and of the displays' fills; 0 (the
    // default) decides by the machine and the size of the job (tests force
    // threads on small files).
    static void setWorkerThreads(int threads);

    // One value from the file, reversed when the file's byte order is not
    // the host's; false and 0 when the file ends.
    bool getChar(QIODevice& file, int8_t& value);
    bool getUChar(QIODevice& file, uint8_t& value);
    bool getShort(QIODevice& file, int16_t& value);
    bool getUShort(QIODevice& file, uint16_t& value);
    bool getInt(QIODevice& file, int32_t& value);
    bool getUInt(QIODevice& file, uint32_t& value);
    // Reads length bytes into buffer and terminates them (buffer holds at
    // least length + 1 bytes); an empty text when the file ends.
    bool getString(QIODevice& file, char* buffer, int length);

    // The same from a byte buffer of 'size' bytes at 'position', which moves
    // on by the value's size; a value that does not lie inside the buffer
    // reads as 0 (or the empty text) and gives false.
    bool getbChar(const uint8_t* buffer, int size, int& position, int8_t& value) const;
    bool getbUChar(const uint8_t* buffer, int size, int& position, uint8_t& value) const;
    bool getbShort(const uint8_t* buffer, int size, int& position, int16_t& value) const;
    bool getbUShort(const uint8_t* buffer, int size, int& position, uint16_t& value) const;
    bool getbInt(const uint8_t* buffer, int size, int& position, int32_t& value) const;
    bool getbUInt(const uint8_t* buffer, int size, int& position, uint32_t& value) const;
    bool getbString(const uint8_t* buffer, int size, int& position, char* text, int length) const;

private:
    // Reads the header at the file's current position into mRecordInfo;
    // with the identification flag the start time stamp becomes startTime.
    // The bytes read are copied to 'header' (128 bytes); returns their count.
    int readInfo(QIODevice& file, bool identification, uint8_t* header);
    // Decides the byte order from the first 16-bit word of a header.
    void decideByteOrder(const uint8_t* header, int size);
    // Points the id lists at this recording's message list.
    void rebindViews();

    template <typename T>
    bool getValue(QIODevice& file, T& value);
    template <typename T>
    bool getbValue(const uint8_t* buffer, int size, int& position, T& value) const;

    RecordInfo mRecordInfo;
    RecordData mRecordData;
    RecordRaw mRaw;
    bool mSwap = false;          // file's byte order is not the host's
    bool mHighFile = false;      // of the file being read
    int32_t mRecords = 0;        // of the file being read
    QString mRecordDirectory;
    QString mRefusedOffsetFile;  // of the last loadOffset, when it refused the value
    double mRefusedOffset = 0.0;
    XmlHandler mXml;
    mutable RecordTimeIndex mTimeIndex;  // noted by the reader, found again when stale
};

} // namespace KAVO

#endif
