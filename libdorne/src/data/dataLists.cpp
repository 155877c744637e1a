// Records of the data sources and their variables, and the operations on
// their doubly linked lists.
#include "data/dataLists.h"

#include "base/linkedList.h"

#include "dorneDataSources.h"
#include "dorneLog.h"

#include <cstdlib>

namespace {

const int kParaText = 64; // bytes of a new parameter's text buffer

void freeOptionArray(DD_OPTION_STRUCT* options, int count)
{
    if (options == nullptr)
        return;
    for (int i = 0; i < count; ++i)
        std::free(options[i].choices);
    std::free(options);
}

// A zero-filled record with n fresh parameter entries; null (logged) when
// memory runs out.
template <typename T>
T* createWithParameters(int n, const char* outOfMemory)
{
    auto* record = static_cast<T*>(std::calloc(1, sizeof(T)));
    if (record != nullptr && n > 0) {
        record->para = dorneParaCreate(n);
        if (record->para == nullptr) {
            std::free(record);
            record = nullptr;
        } else {
            record->paraAlloc = n;
        }
    }
    if (record == nullptr)
        logMsg(1, "%s", outOfMemory);
    return record;
}

} // namespace

DD_PARA_STRUCT* dorneParaCreate(int n)
{
    if (n <= 0)
        return nullptr;
    auto* para = static_cast<DD_PARA_STRUCT*>(std::calloc(size_t(n), sizeof(DD_PARA_STRUCT)));
    if (para == nullptr)
        return nullptr;
    for (int i = 0; i < n; ++i) {
        para[i].text = static_cast<char*>(std::calloc(1, kParaText));
        if (para[i].text == nullptr) {
            dorneParaFree(para, i);
            return nullptr;
        }
        para[i].capacity = kParaText;
    }
    return para;
}

void dorneParaFree(DD_PARA_STRUCT* para, int n)
{
    if (para == nullptr)
        return;
    for (int i = 0; i < n; ++i)
        std::free(para[i].text);
    std::free(para);
}

int dorneParaGrow(DD_PARA_STRUCT** para, int32_t* alloc, int n)
{
    if (n <= *alloc)
        return 0;
    DD_PARA_STRUCT* grown = dorneParaCreate(n);
    if (grown == nullptr)
        return -1;
    // The existing entries keep their buffers; the new tail is fresh.
    for (int i = 0; i < *alloc; ++i) {
        std::free(grown[i].text);
        grown[i] = (*para)[i];
    }
    std::free(*para);
    *para = grown;
    *alloc = n;
    return 0;
}

void dorneOptionsFree(DD_DATA_TYPE_STRUCT* s)
{
    freeOptionArray(s->dataOptions, s->dataOptionCount);
    freeOptionArray(s->varOptions, s->varOptionCount);
    s->dataOptions = s->varOptions = nullptr;
}

DD_DATA_TYPE_STRUCT* createDataType(int n)
{
    DD_DATA_TYPE_STRUCT* s = createWithParameters<DD_DATA_TYPE_STRUCT>(n, "createDataType: out of memory\n");
    if (s != nullptr)
        s->known = 1;
    return s;
}

int appendDataType(DD_DATA_TYPE_STRUCT** head, DD_DATA_TYPE_STRUCT* s)
{
    return dorne::listAppend(head, s);
}

int VDataInsertBefore(DD_DATA_TYPE_STRUCT* s, DD_DATA_TYPE_STRUCT* before, DD_DATA_TYPE_STRUCT** head)
{
    return dorne::listInsertBefore(head, s, before);
}

int VDataInsertAfter(DD_DATA_TYPE_STRUCT* s, DD_DATA_TYPE_STRUCT* after, DD_DATA_TYPE_STRUCT** head)
{
    return dorne::listInsertAfter(head, s, after);
}

int delDataType(DD_DATA_TYPE_STRUCT** head, DD_DATA_TYPE_STRUCT* s, int /*freeOptions*/)
{
    if (s == nullptr)
        return 0;
    if (head != nullptr) // a record in no list is only freed
        dorne::listCut(head, s);
    while (s->variables != nullptr) // each pass unlinks the head
        delVariable(&s->variables, s->variables);
    dorneParaFree(s->para, s->paraAlloc);
    // A source owns its option arrays: the merge gives a view source copies
    // of its own, so they go whatever the flag says.
    dorneOptionsFree(s);
    std::free(s);
    return 0;
}

int checkDataType(DD_DATA_TYPE_STRUCT* head, int type)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next)
        if (s->type == type)
            return 1;
    return 0;
}

DD_VAR_STRUCT* createVariable(int n)
{
    DD_VAR_STRUCT* v = createWithParameters<DD_VAR_STRUCT>(n, "createVariable: out of memory\n");
    if (v != nullptr)
        v->paraCount = v->paraAlloc;
    return v;
}

int appendVariable(DD_VAR_STRUCT** head, DD_VAR_STRUCT* v)
{
    return dorne::listAppend(head, v);
}

int variableInsertBefore(DD_VAR_STRUCT* v, DD_VAR_STRUCT* before, DD_VAR_STRUCT** head)
{
    return dorne::listInsertBefore(head, v, before);
}

int variableInsertAfter(DD_VAR_STRUCT* v, DD_VAR_STRUCT* after, DD_VAR_STRUCT** head)
{
    return dorne::listInsertAfter(head, v, after);
}

int delVariable(DD_VAR_STRUCT** head, DD_VAR_STRUCT* v)
{
    if (v == nullptr)
        return 0;
    if (head != nullptr)
        dorne::listCut(head, v);
    dorneParaFree(v->para, v->paraAlloc);
    std::free(v->value);
    std::free(v);
    return 0;
}
