#ifndef ORLO_LOADERSOURCES_H
#define ORLO_LOADERSOURCES_H

// The record loader driven directly, over files mapped as the reader maps
// them (header only: the ThreadSanitizer build has no test support library).

#include "RecordLoader.h"

#include <QFile>
#include <QStringList>
#include <QtGlobal>

#include <vector>

namespace testsupport {

// Sources of big-endian record files of `count` records each, mapped; empty
// when one of them cannot be mapped.
inline std::vector<KAVO::RecordLoader::Source> mappedSources(const QStringList& paths, int count)
{
    std::vector<KAVO::RecordLoader::Source> sources;
    for (const QString& path : paths) {
        QFile file(path);
        KAVO::RecordLoader::Source s;
        if (!file.open(QIODevice::ReadOnly) || !s.bytes.open(file, 128, 28LL * count) || !s.bytes.isMapped())
            return {};
        s.count = count;
        s.swap = Q_BYTE_ORDER == Q_LITTLE_ENDIAN;
        sources.push_back(std::move(s));
    }
    return sources;
}

} // namespace testsupport

#endif
