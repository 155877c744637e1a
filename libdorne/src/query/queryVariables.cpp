// The exported data-source and variable accessors: enumeration, parameters,
// lookup by name, and reading and writing values as text or raw bytes.
// The value functions take the view's mutex, so they never race the data
// thread.
#include "view/viewInternal.h"

#include "data/dataValue.h"

#include "dorneDataSources.h"
#include "dorneHash.h"
#include "dorneVariables.h"
#include "dorneView.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Each thread formats module names into its own buffer.
thread_local char libName[256 + 16];

// The records of a list in a malloc'd array; *count set when there is one.
template <typename T>
T** listArray(T* head, int* count)
{
    int n = 0;
    for (T* r = head; r != nullptr; r = r->next)
        ++n;
    if (n == 0)
        return nullptr;
    auto* all = static_cast<T**>(std::malloc(sizeof(T*) * size_t(n)));
    if (all == nullptr)
        return nullptr;
    int i = 0;
    for (T* r = head; r != nullptr; r = r->next)
        all[i++] = r;
    *count = n;
    return all;
}

DD_PARA_STRUCT* paraAt(DD_VAR_STRUCT* v, int index)
{
    if (index < 0 || index >= v->paraCount || v->para == nullptr)
        return nullptr;
    return &v->para[index];
}

// The checks the value functions share: 0 or the status to return.
int checkRunning(vdView_Struct* view)
{
    if (const int status = dorne::checkView(view))
        return status;
    return dorne::viewState(view) == 0 ? -3 : 0;
}

DD_VAR_STRUCT* lookUp(vdView_Struct* view, const char* name)
{
    if (view->variables == nullptr)
        return nullptr;
    return static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(view->variables, name));
}

void storeRaw(DD_VAR_STRUCT* v, const void* value)
{
    if (v->type == DD_STRING) {
        dorne::copyText(static_cast<char*>(v->value), static_cast<const char*>(value));
        return;
    }
    const int width = dorne::valueWidth(v->type);
    if (width > 0)
        std::memcpy(v->value, value, size_t(width));
}

// The checks the get and set calls share, in their order of statuses: the
// view, that it runs (-3), the name (-4), the caller's buffer or value (-5);
// then use(the variable of the name, or null) under the view's lock.
template <typename Use>
int withVariable(vdView_Struct* view, const char* name, const void* buffer, Use use)
{
    if (const int status = dorne::checkView(view))
        return status;
    dorne::ViewLock lock(view);
    if (dorne::viewState(view) == 0)
        return -3;
    if (name == nullptr)
        return -4;
    if (buffer == nullptr)
        return -5;
    return use(lookUp(view, name));
}

} // namespace

DD_DATA_TYPE_STRUCT** vdDataSourceGetAll(vdView_Struct* view, int* count)
{
    if (count == nullptr)
        return nullptr;
    *count = 0;
    if (dorne::checkView(view) != 0)
        return nullptr;
    return listArray(view->dataSources, count);
}

char* vdDataSourceName(DD_DATA_TYPE_STRUCT* source)
{
    return source != nullptr ? source->name : nullptr;
}

int vdDataSourceType(DD_DATA_TYPE_STRUCT* source)
{
    return source != nullptr ? source->type : -1;
}

const char* vdDataSourceLibName(DD_DATA_TYPE_STRUCT* source)
{
    if (source == nullptr)
        return nullptr;
    std::snprintf(libName, sizeof libName, "libVdd%.*s.so", int(sizeof source->moduleName - 1), source->moduleName);
    return libName;
}

DD_VAR_STRUCT** vdVarGetAll(DD_DATA_TYPE_STRUCT* source, int* count)
{
    if (count == nullptr)
        return nullptr;
    *count = 0;
    if (source == nullptr)
        return nullptr;
    return listArray(source->variables, count);
}

char* vdVarName(DD_VAR_STRUCT* variable)
{
    return variable != nullptr ? variable->name : nullptr;
}

int vdVarType(DD_VAR_STRUCT* variable)
{
    return variable != nullptr ? variable->type : -1;
}

int vdVarReadWrite(DD_VAR_STRUCT* variable)
{
    return variable != nullptr ? variable->write : -1;
}

int vdVarGetPara(DD_VAR_STRUCT* variable, int index, int* value, char* text)
{
    if (variable == nullptr)
        return -1;
    const DD_PARA_STRUCT* p = paraAt(variable, index);
    if (p == nullptr)
        return -2;
    if (value != nullptr)
        *value = p->value;
    if (text != nullptr) {
        size_t n = 0;
        if (p->text != nullptr && p->capacity > 0) {
            n = strnlen(p->text, std::min(size_t(p->capacity), dorne::kTextStorage - 1));
            std::memcpy(text, p->text, n);
        }
        text[n] = '\0';
    }
    return 0;
}

int vdVarSetPara(DD_VAR_STRUCT* variable, int index, int value, const char* text)
{
    if (variable == nullptr)
        return -1;
    DD_PARA_STRUCT* p = paraAt(variable, index);
    if (p == nullptr)
        return -2;
    p->value = value;
    if (text != nullptr && p->text != nullptr && p->capacity > 0) {
        const size_t n = strnlen(text, size_t(p->capacity) - 1);
        std::memmove(p->text, text, n);
        p->text[n] = '\0';
    }
    return 0;
}

DD_DATA_TYPE_STRUCT* vdVarSource(vdView_Struct* view, const char* name)
{
    auto* none = reinterpret_cast<DD_DATA_TYPE_STRUCT*>(intptr_t(-1));
    if (name == nullptr || dorne::checkView(view) != 0)
        return none;
    for (DD_DATA_TYPE_STRUCT* s = view->dataSources; s != nullptr; s = s->next)
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
            if (std::strncmp(v->name, name, sizeof v->name) == 0)
                return s;
    return none;
}

void* vdVarGetAddr(vdView_Struct* view, const char* name)
{
    if (name == nullptr || checkRunning(view) != 0)
        return nullptr;
    DD_VAR_STRUCT* v = lookUp(view, name);
    return v != nullptr ? v->value : nullptr;
}

int vdVarGetStr(vdView_Struct* view, const char* name, char* out)
{
    return withVariable(view, name, out, [out](DD_VAR_STRUCT* v) {
        if (v == nullptr)
            return -6;
        // A type no path moves has no text.
        if (v->value == nullptr || !dorne::formatValue(v->value, v->type, out))
            out[0] = '\0';
        const int pending = v->setPending;
        v->setPending = 0;
        return pending;
    });
}

int vdVarSetStr(vdView_Struct* view, const char* name, const char* text)
{
    return withVariable(view, name, text, [text](DD_VAR_STRUCT* v) {
        if (v == nullptr)
            return 0;
        if (v->value != nullptr)
            dorne::storeText(v->value, v->type, text, 10);
        return 1;
    });
}

int vdVarSet(vdView_Struct* view, const char* name, const void* value)
{
    return withVariable(view, name, value, [value](DD_VAR_STRUCT* v) {
        if (v == nullptr)
            return 0;
        if (v->value != nullptr)
            storeRaw(v, value);
        return 1;
    });
}

void vdFree(void* pointer)
{
    std::free(pointer);
}
