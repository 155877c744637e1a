// Records of the data sources and their variables, and the operations on
// their doubly linked lists.
#include "data/dataLists.h"

#include "base/linkedList.h"

#include "dorneDataSources.h"
#include "dorneLog.h"

#include <cstdint>
#include <cstdlib>
#include <malloc.h>

namespace {

const int kParaText = 64; // bytes of a new parameter's text buffer

// Whether p lies inside the allocation that starts at owner (span: its
// usable size). No other allocation can overlap it while it lives.
bool inside(const void* p, const void* owner, size_t span)
{
    const auto at = reinterpret_cast<uintptr_t>(p);
    const auto start = reinterpret_cast<uintptr_t>(owner);
    return owner != nullptr && at >= start && at - start < span;
}

size_t spanOf(const void* owner)
{
    return owner != nullptr ? malloc_usable_size(const_cast<void*>(owner)) : 0;
}

// A zero-filled record of type T followed by n parameter entries and their
// texts, all in one allocation: entry i gets capacities[i] bytes for
// i < sized, 64 otherwise. Null for n < 0 or when memory runs out.
template <typename T>
T* createPacked(int n, const int32_t* capacities, int sized)
{
    static_assert(sizeof(T) % alignof(DD_PARA_STRUCT) == 0, "entries follow the record");
    if (n < 0)
        return nullptr;
    size_t bytes = sizeof(T) + size_t(n) * sizeof(DD_PARA_STRUCT);
    for (int i = 0; i < n; ++i)
        bytes += size_t(i < sized ? capacities[i] : kParaText);
    auto* record = static_cast<T*>(std::calloc(1, bytes));
    if (record == nullptr)
        return nullptr;
    if (n > 0) {
        auto* para = reinterpret_cast<DD_PARA_STRUCT*>(record + 1);
        char* text = reinterpret_cast<char*>(para + n);
        for (int i = 0; i < n; ++i) {
            para[i].text = text;
            para[i].capacity = i < sized ? capacities[i] : kParaText;
            text += para[i].capacity;
        }
        record->para = para;
        record->paraAlloc = n;
    }
    return record;
}

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
            dorneParaFree(para, i, nullptr);
            return nullptr;
        }
        para[i].capacity = kParaText;
    }
    return para;
}

void dorneParaFree(DD_PARA_STRUCT* para, int n, const void* owner)
{
    if (para == nullptr)
        return;
    const size_t span = spanOf(owner);
    for (int i = 0; i < n; ++i)
        if (!inside(para[i].text, owner, span))
            std::free(para[i].text);
    if (!inside(para, owner, span))
        std::free(para);
}

int dorneParaReplaceText(DD_PARA_STRUCT* para, int32_t capacity, const void* owner)
{
    auto* text = static_cast<char*>(std::calloc(size_t(capacity > 0 ? capacity : 1), 1));
    if (text == nullptr)
        return -1;
    if (!inside(para->text, owner, spanOf(owner)))
        std::free(para->text);
    para->text = text;
    para->capacity = capacity;
    return 0;
}

DD_DATA_TYPE_STRUCT* dorneDataTypeCreatePacked(int n)
{
    DD_DATA_TYPE_STRUCT* s = createPacked<DD_DATA_TYPE_STRUCT>(n, nullptr, 0);
    if (s != nullptr)
        s->known = 1;
    return s;
}

DD_VAR_STRUCT* dorneVariableCreatePacked(int n, const int32_t* capacities, int sized)
{
    DD_VAR_STRUCT* v = createPacked<DD_VAR_STRUCT>(n, capacities, sized);
    if (v != nullptr)
        v->paraCount = v->paraAlloc;
    return v;
}

int dorneParaGrow(DD_PARA_STRUCT** para, int32_t* alloc, int n, const void* owner)
{
    if (n <= *alloc)
        return 0;
    DD_PARA_STRUCT* grown = dorneParaCreate(n);
    if (grown == nullptr)
        return -1;
    // The existing entries keep their buffers (those inside the owner go
    // with it); the new tail is fresh.
    for (int i = 0; i < *alloc; ++i) {
        std::free(grown[i].text);
        grown[i] = (*para)[i];
    }
    if (!inside(*para, owner, spanOf(owner)))
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
    while (DD_VAR_STRUCT* v = s->variables) { // each pass unlinks the head
        // The next record's entries are fetched while this one is freed.
        if (v->next != nullptr)
            __builtin_prefetch(v->next->para);
        delVariable(&s->variables, v);
    }
    dorneParaFree(s->para, s->paraAlloc, s);
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
    dorneParaFree(v->para, v->paraAlloc, v);
    std::free(v->value);
    std::free(v);
    return 0;
}
