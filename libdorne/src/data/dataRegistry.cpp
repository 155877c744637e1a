// The registry of source kinds (built-ins and modules found on disk), the
// merge of a view's sources with it, and the opening and closing of a view's
// sources with their modules.
#include "sources/builtinSources.h"
#include "data/dataLists.h"

#include "dorneDataSources.h"
#include "dorneLog.h"
#include "dornePlatform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {

const size_t kFolderLength = 511; // longest module folder searched
const size_t kPathLength = 255;   // longest module path loaded

const DD_BUILTIN_FILL kBuiltins[] = {autoDataEntryPoints,  constantDataEntryPoints, shmDataEntryPoints,
                                     udpDataEntryPoints,   internalDataEntryPoints, calculatorEntryPoints};

// Built-ins get five services; modules also the variable-record list and the log.
void fillServices(DD_DATA_TYPE_STRUCT* s, bool module)
{
    s->vddInit = vddInit;
    s->vddOption = vddOption;
    s->vddAddVariable = vddAddVariable;
    s->vddDeleteAllVariables = vddDeleteAllVariables;
    s->vddGetAllVariables = vddGetAllVariables;
    s->vddGetAllVariablesS = module ? vddGetAllVariablesS : nullptr;
    s->logMsgData = module ? logMsgData : nullptr;
}

// Every entry point but StartViewAll, which only a built-in has.
void clearEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    s->fnVersion = nullptr;
    s->fnInfo = s->fnOpen = s->fnClose = s->fnRun = s->fnPostRun = nullptr;
    s->fnGet = s->fnSet = nullptr;
    s->fnStartView = s->fnNewData = nullptr;
    s->fnNewVariable = nullptr;
    s->fnCallbackData = nullptr;
    s->fnCallbackVar = nullptr;
}

// Addresses of an unloaded module's globals must not outlive it.
void clearSymbols(DD_DATA_TYPE_STRUCT* s)
{
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        v->symbol = nullptr;
}

template <typename F>
F symbolOf(void* module, const char* name)
{
    return reinterpret_cast<F>(apiDllGetSymbol(module, name));
}

// "vdd" + module name + suffix; false when it does not fit.
bool entryName(char* buffer, size_t size, const char* moduleName, const char* suffix)
{
    const int n = std::snprintf(buffer, size, "vdd%s%s", moduleName, suffix);
    return n >= 0 && size_t(n) < size;
}

// Appends a declared kind unless its type number is registered already;
// the record is freed then. Both built-ins and modules go through here.
void registerKind(DD_DATA_TYPE_STRUCT** head, DD_DATA_TYPE_STRUCT* s)
{
    if (checkDataType(*head, s->type)) {
        logMsg(2, "Data Type <%d> already present. skipped ...\n", s->type);
        delDataType(nullptr, s, 1);
        return;
    }
    appendDataType(head, s);
}

// A copy of an option array whose entries do not own choice texts (those
// stay with the registry). Null for an empty array or no memory.
DD_OPTION_STRUCT* copyOptions(const DD_OPTION_STRUCT* options, int count, bool* failed)
{
    *failed = false;
    if (options == nullptr || count <= 0)
        return nullptr;
    auto* copy = static_cast<DD_OPTION_STRUCT*>(std::malloc(sizeof(DD_OPTION_STRUCT) * size_t(count)));
    if (copy == nullptr) {
        *failed = true;
        return nullptr;
    }
    std::memcpy(copy, options, sizeof(DD_OPTION_STRUCT) * size_t(count));
    for (int i = 0; i < count; ++i)
        copy[i].choices = nullptr;
    return copy;
}

void warnCountMismatch(const char* what, const DD_DATA_TYPE_STRUCT* kind, int kindCount, int viewCount)
{
    logMsg(2, "Warning: nr of %s parameter mismatch\n", what);
    logMsg(2, "Data type %d %s\n", kind->type, kind->name);
    logMsg(2, "Library has %d parameters, view has %d parameters\n", kindCount, viewCount);
}

// Completes one view source from the registry record of its kind.
void mergeKind(DD_DATA_TYPE_STRUCT* view, const DD_DATA_TYPE_STRUCT* kind)
{
    if (kind->dataOptionCount != view->dataOptionCount)
        warnCountMismatch("data", kind, kind->dataOptionCount, view->dataOptionCount);
    if (kind->varOptionCount != view->varOptionCount)
        warnCountMismatch("variable", kind, kind->varOptionCount, view->varOptionCount);

    bool dataFailed = false;
    bool varFailed = false;
    DD_OPTION_STRUCT* dataOptions = copyOptions(kind->dataOptions, kind->dataOptionCount, &dataFailed);
    DD_OPTION_STRUCT* varOptions = copyOptions(kind->varOptions, kind->varOptionCount, &varFailed);
    if (dataFailed || varFailed) {
        std::free(dataOptions);
        std::free(varOptions);
        logMsg(1, "updateDataTypes: out of memory\n");
        return;
    }
    dorneOptionsFree(view);
    view->dataOptions = dataOptions;
    view->varOptions = varOptions;
    view->dataOptionCount = kind->dataOptionCount;
    view->varOptionCount = kind->varOptionCount;
    view->symbolMode = kind->symbolMode;

    // A kind may declare more options than the file stored: every option
    // gets its parameter entry, so the kind never reads past the array.
    if (dorneParaGrow(&view->para, &view->paraAlloc, kind->dataOptionCount, view) != 0)
        logMsg(1, "updateDataTypes: out of memory\n");
    for (DD_VAR_STRUCT* v = view->variables; v != nullptr; v = v->next) {
        if (dorneParaGrow(&v->para, &v->paraAlloc, kind->varOptionCount, v) != 0)
            logMsg(1, "updateDataTypes: out of memory\n");
        else if (v->paraCount < kind->varOptionCount)
            v->paraCount = kind->varOptionCount;
    }

    std::memcpy(view->name, kind->name, sizeof view->name);
    view->type = kind->type;
    std::memcpy(view->modulePath, kind->modulePath, sizeof view->modulePath);
    std::memcpy(view->moduleName, kind->moduleName, sizeof view->moduleName);
    view->isStatic = kind->isStatic;
    view->vddInit = kind->vddInit;
    view->vddOption = kind->vddOption;
    view->vddAddVariable = kind->vddAddVariable;
    view->vddDeleteAllVariables = kind->vddDeleteAllVariables;
    view->vddGetAllVariables = kind->vddGetAllVariables;
    view->vddGetAllVariablesS = kind->vddGetAllVariablesS;
    view->logMsgData = kind->logMsgData;
    view->fnVersion = kind->fnVersion;
    view->fnInfo = kind->fnInfo;
    view->fnOpen = kind->fnOpen;
    view->fnClose = kind->fnClose;
    view->fnRun = kind->fnRun;
    view->fnPostRun = kind->fnPostRun;
    view->fnGet = kind->fnGet;
    view->fnSet = kind->fnSet;
    view->fnStartView = kind->fnStartView;
    view->fnStartViewAll = kind->fnStartViewAll;
    view->fnNewData = kind->fnNewData;
    view->fnNewVariable = kind->fnNewVariable;
    view->fnCallbackData = kind->fnCallbackData;
    view->fnCallbackVar = kind->fnCallbackVar;
}

} // namespace

int vdiLoadStaticDataSources(DD_DATA_TYPE_STRUCT** head)
{
    if (head == nullptr)
        return -1;
    for (DD_BUILTIN_FILL fill : kBuiltins) {
        DD_DATA_TYPE_STRUCT* s = createDataType(10);
        if (s == nullptr)
            continue;
        s->isStatic = 1;
        fillServices(s, false);
        fill(s);
        if (s->fnInfo != nullptr)
            s->fnInfo(s);
        logMsg(3, "Nalvo Static Data Source: <type=%d> %s \n", s->type, s->name);
        registerKind(head, s);
    }
    return 0;
}

int vdiLoadDataSources(DD_DATA_TYPE_STRUCT** head)
{
    if (head == nullptr)
        return -1;
    char folders[3][kFolderLength + 1];
    int count = 0;
    std::snprintf(folders[count++], sizeof folders[0], ".");
    if (const char* home = std::getenv("NALVO_HOME")) {
        for (const char* format : {"%s/bin", "%s"}) {
            const int n = std::snprintf(folders[count], sizeof folders[0], format, home);
            if (n < 0 || size_t(n) > kFolderLength)
                logMsg(2, "Module folder too long, not searched: %s\n", home);
            else
                ++count;
        }
    }
    for (int f = 0; f < count; ++f) {
        API_DIR* dir = apiOpenDir(folders[f]);
        if (dir == nullptr)
            continue; // a missing folder is no error
        API_FILE entry;
        while (apiReadDir(dir, &entry) == 1) { // one pass over the folder
            const char* name = entry.name;
            const char* dot = std::strrchr(name, '.');
            if (dot == nullptr || std::strcmp(dot, ".so") != 0 || std::strncmp(name, "libVdd", 6) != 0 ||
                dot < name + 6)
                continue;
            char path[kPathLength + 1];
            const int n = std::snprintf(path, sizeof path, "%s/%s", folders[f], name);
            if (n < 0 || size_t(n) > kPathLength) {
                logMsg(2, "Module path too long, not loaded: %s/%s\n", folders[f], name);
                continue;
            }
            char moduleName[sizeof entry.name];
            std::snprintf(moduleName, sizeof moduleName, "%.*s", int(dot - (name + 6)), name + 6);
            vdiAppendDDsource(head, path, moduleName);
        }
        apiCloseDir(dir);
    }
    return 0;
}

int vdiAppendDDsource(DD_DATA_TYPE_STRUCT** head, char* path, char* moduleName)
{
    if (head == nullptr || path == nullptr || moduleName == nullptr)
        return -1;
    DD_DATA_TYPE_STRUCT* s = createDataType(10);
    if (s == nullptr)
        return -1;
    // Never loaded in a cut form.
    if (std::strlen(path) >= sizeof s->modulePath || std::strlen(moduleName) >= sizeof s->moduleName) {
        logMsg(1, "error opening Dynamic Data Source %.*s\n", int(sizeof s->modulePath - 1), path);
        delDataType(nullptr, s, 1);
        return -1;
    }
    std::snprintf(s->modulePath, sizeof s->modulePath, "%s", path);
    std::snprintf(s->moduleName, sizeof s->moduleName, "%s", moduleName);
    s->isStatic = 0;
    if (openDDsource(s->modulePath, s->moduleName, s) != 0) {
        logMsg(1, "error opening Dynamic Data Source %s\n", path);
        delDataType(nullptr, s, 1);
        return -1;
    }
    if (s->fnInfo == nullptr) {
        logMsg(2, "VDD %s: no Info function !\n", path);
        closeDDsource(s);
        delDataType(nullptr, s, 1);
        return 0;
    }
    s->fnInfo(s);
    logMsg(3, "Nalvo Dynamic Data Source: <type=%d version %d> <%s> <%s>\n", s->type, s->version, s->name, path);
    // The registry keeps the declarations, not the loaded module.
    closeDDsource(s);
    registerKind(head, s);
    return 0;
}

int openDDsource(char* path, char* moduleName, DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return -1;
    if (s->isStatic)
        return 0;
    if (s->module != nullptr)
        closeDDsource(s); // one handle per record
    const char* shownPath = path != nullptr ? path : "";
    const char* shownName = moduleName != nullptr ? moduleName : "";
    void* module = path != nullptr && path[0] != '\0' && moduleName != nullptr ? apiDllOpen(path) : nullptr;
    if (module == nullptr) {
        logMsg(1, "error opening <%s> <%s>\n", shownPath, shownName);
        return -1;
    }
    s->module = module;
    fillServices(s, true);
    s->version = 0;

    const auto version = symbolOf<DD_VERSION_FN>(module, "vddVersion");
    if (version == nullptr) {
        logMsg(1, "Module <%s> No Version Information, recompile datasource !\n", path);
        closeDDsource(s);
        return -1;
    }
    s->version = version();
    if (s->version != DD_MODULE_VERSION) {
        logMsg(1, "Module <%s> Wrong version %d, recompile datasource !\n", path, s->version);
        closeDDsource(s);
        return -1;
    }
    char symbol[sizeof s->moduleName + 32];
    const bool named = entryName(symbol, sizeof symbol, moduleName, "Info");
    const auto info = named ? symbolOf<DD_SOURCE_FN>(module, symbol) : nullptr;
    if (info == nullptr) {
        logMsg(1, "Module <%s> Function <%s> not found !\n", path, symbol);
        closeDDsource(s);
        return -1;
    }
    s->fnVersion = version;
    s->fnInfo = info;

    // The optional entry points, in the order of the module contract; a
    // name that does not fit stays unresolved.
    const auto optional = [&](const char* suffix) -> void* {
        return entryName(symbol, sizeof symbol, moduleName, suffix) ? apiDllGetSymbol(module, symbol) : nullptr;
    };
    s->fnOpen = reinterpret_cast<DD_SOURCE_FN>(optional("Open"));
    s->fnClose = reinterpret_cast<DD_SOURCE_FN>(optional("Close"));
    s->fnRun = reinterpret_cast<DD_SOURCE_FN>(optional("Run"));
    s->fnPostRun = reinterpret_cast<DD_SOURCE_FN>(optional("PostRun"));
    s->fnGet = reinterpret_cast<DD_VARIABLE_FN>(optional("Get"));
    s->fnSet = reinterpret_cast<DD_VARIABLE_FN>(optional("Set"));
    s->fnStartView = reinterpret_cast<DD_SOURCE_FN>(optional("StartView"));
    s->fnNewData = reinterpret_cast<DD_SOURCE_FN>(optional("NewData"));
    s->fnNewVariable = reinterpret_cast<DD_NEW_VARIABLE_FN>(optional("NewVariable"));
    s->fnCallbackData = reinterpret_cast<DD_CALLBACK_DATA_FN>(optional("CallbackData"));
    s->fnCallbackVar = reinterpret_cast<DD_CALLBACK_VAR_FN>(optional("CallbackVar"));
    return 0;
}

int closeDDsource(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return -1;
    if (s->isStatic)
        return 0;
    clearEntryPoints(s);
    clearSymbols(s);
    apiDllClose(s->module);
    s->module = nullptr;
    return 0;
}

int updateDataTypes(DD_DATA_TYPE_STRUCT* registry, DD_DATA_TYPE_STRUCT** viewSources)
{
    if (viewSources == nullptr)
        return -1;
    for (DD_DATA_TYPE_STRUCT* view = *viewSources; view != nullptr; view = view->next) {
        bool found = false;
        for (const DD_DATA_TYPE_STRUCT* kind = registry; kind != nullptr; kind = kind->next) {
            if (kind->type != view->type)
                continue;
            mergeKind(view, kind);
            found = true;
        }
        view->known = found ? 1 : 0;
        if (!found) {
            logMsg(2, "Warning: data type %d not found. deleted !\n", view->type);
            std::snprintf(view->name, sizeof view->name, "unknown Data Source %d", view->type);
            clearEntryPoints(view);
            view->fnStartViewAll = nullptr;
        }
    }
    return 0;
}

int openDataSources(DD_DATA_TYPE_STRUCT* head)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next) {
        if (!s->known)
            continue; // no kind serves it: nothing to open
        if (!s->isStatic)
            clearSymbols(s);
        if (openDDsource(s->modulePath, s->moduleName, s) != 0)
            continue;
        if (s->symbolMode) {
            for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
                char name[sizeof v->name];
                std::snprintf(name, sizeof name, "%.*s", int(sizeof v->name - 1), v->name);
                v->symbol = apiDllGetSymbol(s->module, name);
                if (v->symbol == nullptr)
                    logMsg(1, "error global variable %s\n", name);
            }
        }
        if (s->fnOpen != nullptr)
            s->fnOpen(s);
    }
    return 0;
}

int callStartView(DD_DATA_TYPE_STRUCT* head)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next) {
        if (s->fnStartView != nullptr)
            s->fnStartView(s);
        if (s->fnStartViewAll != nullptr)
            s->fnStartViewAll(head, s);
    }
    return 0;
}

int closeDataSources(DD_DATA_TYPE_STRUCT* head)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next) {
        if (s->fnClose != nullptr)
            s->fnClose(s);
        closeDDsource(s);
    }
    return 0;
}
