#ifndef ORLO_CARDINFO_H
#define ORLO_CARDINFO_H

#include "RecordInfo.h"

#include <QString>

#include <map>

namespace KAVO {

// The opened card folder and the identification of each of its record
// files, keyed by the file's full path (so listed in path order).
struct CardInfo
{
    QString path;
    std::map<QString, RecordInfo> records;
};

} // namespace KAVO

#endif
