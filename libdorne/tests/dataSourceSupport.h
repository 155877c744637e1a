// Shared by the data-source tests: the log as text, temporary folders, and
// sources built the way a view file reader and a view start build them.
#ifndef DORNE_DATA_SOURCE_SUPPORT_H
#define DORNE_DATA_SOURCE_SUPPORT_H

#include "data/dataValue.h"
#include "dorneDataSources.h"
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace support {

// Keeps the log at level 3 while it lives and hands out what was logged.
class LogCapture
{
public:
    LogCapture()
    {
        setLogLevel(3);
        take();
    }
    ~LogCapture()
    {
        take();
        setLogLevel(1);
    }
    std::string take()
    {
        std::vector<char> buffer(16384);
        getLogMsg(buffer.data(), int(buffer.size()));
        return buffer.data();
    }
};

// A fresh folder under /tmp, removed with everything in it.
class TempFolder
{
public:
    TempFolder()
    {
        char pattern[] = "/tmp/dorneDataXXXXXX";
        const char* made = mkdtemp(pattern);
        EXPECT_NE(made, nullptr);
        path = made != nullptr ? made : "/tmp";
    }
    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

// A source as the view file reader makes it: type number, D source and V
// variable parameters stored, at least ten parameter entries.
inline DD_DATA_TYPE_STRUCT* fileSource(DD_DATA_TYPE_STRUCT** head, int type, int d, int v)
{
    DD_DATA_TYPE_STRUCT* s = createDataType(d > 10 ? d : 10);
    s->type = type;
    s->dataOptionCount = d;
    s->varOptionCount = v;
    appendDataType(head, s);
    return s;
}

// A variable as the reader makes it (V parameters of ten entries).
inline DD_VAR_STRUCT* fileVariable(DD_DATA_TYPE_STRUCT* s, const char* name, int type,
                                   const char* defaultText = "")
{
    const int v = s->varOptionCount;
    DD_VAR_STRUCT* var = createVariable(v > 10 ? v : 10);
    var->paraCount = v;
    var->type = type;
    std::snprintf(var->name, sizeof var->name, "%s", name);
    std::snprintf(var->defaultText, sizeof var->defaultText, "%s", defaultText);
    appendVariable(&s->variables, var);
    return var;
}

inline void setParaText(DD_PARA_STRUCT& para, const char* text)
{
    std::snprintf(para.text, size_t(para.capacity), "%s", text);
}

// Builds the registry (built-ins, then modules found), merges it into the
// view's sources and deletes it, as a view load does.
inline void mergeWithRegistry(DD_DATA_TYPE_STRUCT** sources)
{
    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadStaticDataSources(&registry);
    vdiLoadDataSources(&registry);
    updateDataTypes(registry, sources);
    while (registry != nullptr)
        delDataType(&registry, registry, 1);
}

// What a view start does to the sources: storage, open, start, defaults.
inline void startSources(DD_DATA_TYPE_STRUCT* head)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next)
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
            ASSERT_EQ(dorne::resetValue(v), 0);
    openDataSources(head);
    callStartView(head);
    writeDefault(head);
}

inline void freeSources(DD_DATA_TYPE_STRUCT** head)
{
    while (*head != nullptr)
        delDataType(head, *head, 0);
}

template <typename T>
T valueOf(const DD_VAR_STRUCT* v)
{
    T t;
    std::memcpy(&t, v->value, sizeof t);
    return t;
}

template <typename T>
void setValue(DD_VAR_STRUCT* v, T t)
{
    std::memcpy(v->value, &t, sizeof t);
}

inline std::string textOf(const DD_VAR_STRUCT* v)
{
    return static_cast<const char*>(v->value);
}

} // namespace support

#endif
