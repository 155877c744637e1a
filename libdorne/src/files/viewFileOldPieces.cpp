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
    if ((file == nullptr || actions == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, group, [&](ViewReader& in) {
        ACTION_STRUCT* read = nullptr;
        ACTION_STRUCT* last = nullptr;
        if (!actionLoadOld(in, group, &read, last)) {
            while (read != nullptr)
                delAction(&read, read);
            return false;
        }
        appendList(actions, read);
        return true;
    });
}

int loadElementOld(int kind, FILE* file, ELEMENT_STRUCT** elements, const char* who, int group)
{
    if ((file == nullptr || elements == nullptr) && nullArgument(who))
        return -1;
    return readStream(file, who, group, [&](ViewReader& in) {
        ViewContent content(CONFIG_STRUCT{});
        if (!elementLoadOld(in, group, content, kind))
            return false;
        content.adopt(elements, nullptr, nullptr);
        return true;
    });
}

} // namespace

} // namespace dorne

using dorne::kRevision100;
using dorne::kRevision101;
using dorne::kRevision102;
using dorne::kRevision107;
using dorne::kRevision111;
using dorne::kRevision113;
using dorne::kRevision201;
using dorne::kRevision202;
using dorne::kRevision203;
using dorne::kRevision204;

int loadFile_100(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_100", 100, kRevision100);
}

int loadFile_101(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_101", 101, kRevision101);
}

int loadFile_102(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_102", version, kRevision102);
}

int loadFile_107(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_107", version, kRevision107);
}

int loadFile_111(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_111", version, kRevision111);
}

int loadFile_113(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_113", version, kRevision113);
}

int loadFile_201(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_201", version, kRevision201);
}

int loadFile_202(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_202", version, kRevision202);
}

int loadFile_203(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_203", version, kRevision203);
}

int loadFile_204(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources, CONFIG_STRUCT* config,
                  int version)
{
    return dorne::loadBody(file, elements, sources, config, "loadFile_204", version, kRevision204);
}

int loadConfigFile_102(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_102", 102, kRevision102);
}

int loadConfigFile_107(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_107", 107, kRevision107);
}

int loadConfigFile_111(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_111", 111, kRevision111);
}

int loadConfigFile_113(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_113", 113, kRevision113);
}

int loadConfigFile_201(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_201", 201, kRevision201);
}

int loadConfigFile_202(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_202", 202, kRevision202);
}

int loadConfigFile_203(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_203", 203, kRevision203);
}

int loadConfigFile_204(FILE* file, CONFIG_STRUCT* config)
{
    return dorne::loadBlock(file, config, "loadConfigFile_204", 204, kRevision204);
}

int dataLoad_100(FILE* file, DD_DATA_TYPE_STRUCT** sources)
{
    return dorne::loadSources(file, sources, "dataLoad_100", 100, kRevision100);
}

int dataLoad_101(FILE* file, DD_DATA_TYPE_STRUCT** sources)
{
    return dorne::loadSources(file, sources, "dataLoad_101", 101, kRevision101);
}

int dataLoad_102(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_102", version, kRevision102);
}

int dataLoad_107(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_107", version, kRevision107);
}

int dataLoad_111(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_111", version, kRevision111);
}

int dataLoad_113(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_113", version, kRevision113);
}

int dataLoad_201(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_201", version, kRevision201);
}

int dataLoad_202(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_202", version, kRevision202);
}

int dataLoad_203(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_203", version, kRevision203);
}

int dataLoad_204(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version)
{
    return dorne::loadSources(file, sources, "dataLoad_204", version, kRevision204);
}

int actionLoad_100(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_100", 100);
}

int actionLoad_101(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_101", 101);
}

int actionLoad_102(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_102", 102);
}

int actionLoad_107(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_107", 107);
}

int actionLoad_111(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_111", 111);
}

int actionLoad_113(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_113", 113);
}

int actionLoad_201(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_201", 201);
}

int actionLoad_202(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_202", 202);
}

int actionLoad_203(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_203", 203);
}

int actionLoad_204(FILE* file, ACTION_STRUCT** actions)
{
    return dorne::loadActionsOld(file, actions, "actionLoad_204", 204);
}

int elementLoad_100(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_100", 100);
}

int elementLoad_101(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_101", 101);
}

int elementLoad_102(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_102", 102);
}

int elementLoad_107(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_107", 107);
}

int elementLoad_111(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_111", 111);
}

int elementLoad_113(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_113", 113);
}

int elementLoad_201(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_201", 201);
}

int elementLoad_202(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_202", 202);
}

int elementLoad_203(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_203", 203);
}

int elementLoad_204(int kind, FILE* file, ELEMENT_STRUCT** elements)
{
    return dorne::loadElementOld(kind, file, elements, "elementLoad_204", 204);
}
