// The per-revision pieces of the revisions before 3.01 for outside tools:
// one body, view block, data-source section, action list and element
// record reader per group of revisions that share a layout, each bounded
// and all-or-nothing as the pieces of 3.01 to 3.03 are.
#include "files/viewFileOld.h"
#include "files/viewFilePieces.h"

#include "dorneFiles.h"
#include "dorneLog.h"

namespace dorne {

namespace {

int loadActionsOld(FILE* file, ACTION_STRUCT** actions, const char* who, int group)
{
    return loadActionList(file, actions, who, group,
                          [group](ViewReader& in, ACTION_STRUCT** list, ACTION_STRUCT*& last) {
                              return actionLoadOld(in, group, list, last);
                          });
}

int loadElementOld(int kind, FILE* file, ELEMENT_STRUCT** elements, const char* who, int group)
{
    return loadElementRecord(file, elements, who, group, [group, kind](ViewReader& in, ViewContent& content) {
        return elementLoadOld(in, group, content, kind);
    });
}

} // namespace

} // namespace dorne

// Every piece of revision group n names itself in its messages and reads
// as n; the whole-file and data-source readers of 1.02 on take the file's
// own revision from the caller, since a group spans several.
#define DORNE_OLD_RECORD_PIECES(n)                                                                            \
    int actionLoad_##n(FILE* file, ACTION_STRUCT** actions)                                                   \
    {                                                                                                         \
        return dorne::loadActionsOld(file, actions, "actionLoad_" #n, n);                                     \
    }                                                                                                         \
    int elementLoad_##n(int kind, FILE* file, ELEMENT_STRUCT** elements)                                      \
    {                                                                                                         \
        return dorne::loadElementOld(kind, file, elements, "elementLoad_" #n, n);                             \
    }

// 1.00 and 1.01: no view block of their own.
#define DORNE_OLD_PIECES_FIXED(n)                                                                             \
    int loadFile_##n(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,                    \
                     CONFIG_STRUCT* config)                                                                   \
    {                                                                                                         \
        return dorne::loadBody(file, elements, sources, config, "loadFile_" #n, n, dorne::kRevision##n);      \
    }                                                                                                         \
    int dataLoad_##n(FILE* file, DD_DATA_TYPE_STRUCT** sources)                                               \
    {                                                                                                         \
        return dorne::loadSources(file, sources, "dataLoad_" #n, n, dorne::kRevision##n);                     \
    }                                                                                                         \
    DORNE_OLD_RECORD_PIECES(n)

#define DORNE_OLD_PIECES(n)                                                                                   \
    int loadFile_##n(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,                    \
                     CONFIG_STRUCT* config, int version)                                                      \
    {                                                                                                         \
        return dorne::loadBody(file, elements, sources, config, "loadFile_" #n, version,                      \
                               dorne::kRevision##n);                                                          \
    }                                                                                                         \
    int loadConfigFile_##n(FILE* file, CONFIG_STRUCT* config)                                                 \
    {                                                                                                         \
        return dorne::loadBlock(file, config, "loadConfigFile_" #n, n, dorne::kRevision##n);                  \
    }                                                                                                         \
    int dataLoad_##n(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)                                  \
    {                                                                                                         \
        return dorne::loadSources(file, sources, "dataLoad_" #n, version, dorne::kRevision##n);               \
    }                                                                                                         \
    DORNE_OLD_RECORD_PIECES(n)

DORNE_OLD_PIECES_FIXED(100)
DORNE_OLD_PIECES_FIXED(101)
DORNE_OLD_PIECES(102)
DORNE_OLD_PIECES(107)
DORNE_OLD_PIECES(111)
DORNE_OLD_PIECES(113)
DORNE_OLD_PIECES(201)
DORNE_OLD_PIECES(202)
DORNE_OLD_PIECES(203)
DORNE_OLD_PIECES(204)

#undef DORNE_OLD_PIECES
#undef DORNE_OLD_PIECES_FIXED
#undef DORNE_OLD_RECORD_PIECES
