#ifndef ORLO_RECORDINFO_H
#define ORLO_RECORDINFO_H

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace KAVO {

// The identification of one record file, as the card list and the export
// options keep it; a value type copied whole.
struct RecordInfo
{
    static constexpr int TextSize = 32;

    QString path;            // as given to the reader
    QDateTime dateTime;      // header date and time, local
    double startTime = 0.0;  // seconds on the time-stamp scale
    double stopTime = 0.0;
    int32_t samples = 0;
    int64_t utcStart = 0;    // seconds since 1970 from the date and time messages
    // Where utcStart lies on the timeline: the recorded time of the message
    // that completed the date and time (of the first of the two when they
    // came one right after the other), and whether its file takes the
    // folder offset. Without it (utcStart set by hand) the calendar counts
    // from startTime.
    bool utcAnchored = false;
    double utcAnchor = 0.0;
    bool utcAnchorHigh = false;
    uint32_t busType = 0;
    uint32_t ecuSerialNumber = 0;
    char swPartA[TextSize] = {};
    char ecuType[TextSize] = {};
    char engineSerialNumber[TextSize] = {};
    char engineType[TextSize] = {};
    char swPartB[TextSize] = {};
    char emuSwVersion[TextSize] = {};

    // Empties the header fields (date, numbers and texts), as a file too
    // short to hold them leaves them.
    void clearHeaderFields();

    // The calendar time, in seconds since 1970, at a time of the timeline
    // (with the folder offset the recording has now); only meaningful when
    // utcStart is not 0.
    double calendarAt(double time, double offset) const;
};

} // namespace KAVO

#endif
