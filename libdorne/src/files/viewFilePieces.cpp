// The per-revision pieces of the binary view file for outside tools: each
// reads from a stream's position through the checked reader, bounded by the
// bytes the regular file behind the stream has left, and hands over only
// what it read whole; the writers write at the stream's position.
#include "files/viewFilePieces.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <sys/stat.h>

namespace dorne {

int64_t bytesLeft(FILE* file, const char* who)
{
    struct stat st;
    const int fd = fileno(file);
    const off_t at = fd >= 0 ? ftello(file) : -1;
    if (at < 0 || fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        logMsg(1, "%s: %s: no regular file of a known size\n", who, kStream);
        return -1;
    }
    return st.st_size > at ? int64_t(st.st_size - at) : 0;
}

bool nullArgument(const char* who)
{
    logMsg(1, "%s: null argument\n", who);
    return true;
}

int loadBody(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
             const char* who, int revision, const RevisionGroup& group)
{
    if ((file == nullptr || elements == nullptr || sources == nullptr || config == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, revision, [&](ViewReader& in) {
        ViewContent content(*config);
        if (!readBody(in, content, group))
            return false;
        content.adopt(elements, sources, config);
        return true;
    });
}

int loadBlock(FILE* file, CONFIG_STRUCT* config, const char* who, int revision, const RevisionGroup& group)
{
    if ((file == nullptr || config == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, revision, [&](ViewReader& in) {
        CONFIG_STRUCT read = *config;
        if (!group.viewBlock(in, read))
            return false;
        *config = read;
        return true;
    });
}

int loadSources(FILE* file, DD_DATA_TYPE_STRUCT** sources, const char* who, int revision,
                const RevisionGroup& group)
{
    if ((file == nullptr || sources == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, revision, [&](ViewReader& in) {
        ViewContent content(CONFIG_STRUCT{});
        if (!group.dataSection(in, content))
            return false;
        content.adopt(nullptr, sources, nullptr);
        return true;
    });
}

namespace {

int loadActions(FILE* file, ACTION_STRUCT** actions, const char* who, int revision)
{
    return loadActionList(file, actions, who, revision,
                          [](ViewReader& in, ACTION_STRUCT** list, ACTION_STRUCT*& last) {
                              return actionLoad(in, list, last);
                          });
}

int loadElement(int kind, FILE* file, ELEMENT_STRUCT** elements, const char* who, int revision)
{
    return loadElementRecord(file, elements, who, revision,
                             [kind](ViewReader& in, ViewContent& content) { return elementLoad(in, content, kind); });
}

} // namespace

} // namespace dorne

using dorne::kRevision301;
using dorne::kRevision302;
using dorne::kRevision303;

int loadFile_301(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config, int)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_301", 301, kRevision301);
}

int loadFile_302(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config, int)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_302", 302, kRevision302);
}

int loadFile_303(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config, int)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_303", 303, kRevision303);
}

int loadConfigFile_301(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_301", 301, kRevision301);
}

int loadConfigFile_302(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_302", 302, kRevision302);
}

int loadConfigFile_303(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_303", 303, kRevision303);
}

int dataLoad_301(FILE* file, DD_DATA_TYPE_STRUCT** sources)
{
    return dorne::loadSources(file, sources, "dataLoad_301", 301, kRevision301);
}

int dataLoad_302(FILE* file, DD_DATA_TYPE_STRUCT** sources)
{
    return dorne::loadSources(file, sources, "dataLoad_302", 302, kRevision302);
}

int dataLoad_303(FILE* file, DD_DATA_TYPE_STRUCT** sources)
{
    return dorne::loadSources(file, sources, "dataLoad_303", 303, kRevision303);
}

int actionLoad_301(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActions(file, actions, "actionLoad_301", 301);
}

int actionLoad_302(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActions(file, actions, "actionLoad_302", 302);
}

int actionLoad_303(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActions(file, actions, "actionLoad_303", 303);
}

int elementLoad_301(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElement(kind, file, elements, "elementLoad_301", 301);
}

int elementLoad_302(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElement(kind, file, elements, "elementLoad_302", 302);
}

int elementLoad_303(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElement(kind, file, elements, "elementLoad_303", 303);
}

int dataSave_303(DD_DATA_TYPE_STRUCT* sources, FILE* file)
{
    if (file == nullptr && dorne::nullArgument("dataSave_303"))
        return -1;
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    return dorne::dataSave_303(file, sources) ? 0 : -1;
}

int actionSave_303(ACTION_STRUCT* actions, FILE* file)
{
    if (file == nullptr && dorne::nullArgument("actionSave_303"))
        return -1;
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    return dorne::actionSave_303(file, actions) ? 0 : -1;
}

int elementSave_303(ELEMENT_STRUCT* element, FILE* file)
{
    if ((file == nullptr || element == nullptr) && dorne::nullArgument("elementSave_303"))
        return -1;
    dorne::LibraryLockGuard lock(dorne::libraryLock());
    return dorne::elementSave(file, element) ? 0 : -1;
}
