#ifndef ORLO_CARDINFO_H
#define ORLO_CARDINFO_H

#include <QString>

#include <map>

#if __has_include("RecordInfo.h")
#include "RecordInfo.h"
#endif

namespace KAVO {

// Header identification of one record file (the record reader provides it).
class RecordInfo;

// The opened card folder and the identification of each of its record
// files, keyed by the file's full path.
struct CardInfo
{
    QString path;
#if __has_include("RecordInfo.h")
    std::map<QString, RecordInfo> records;
#endif
};

} // namespace KAVO

#endif
