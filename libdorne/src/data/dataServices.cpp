// Services the library hands to source kinds (built-ins and modules): their
// declaration (vddInit, vddOption) and their variable lists.
#include "data/dataLists.h"

#include "dorneDataSources.h"
#include "dorneLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <pthread.h>

namespace {

const int kMaxChoices = 1024; // a choice list longer than this is cut

// Copies at most size - 1 characters and a zero; a null text gives "".
void copyCut(char* target, size_t size, const char* text)
{
    std::snprintf(target, size, "%s", text != nullptr ? text : "");
}

// The arrays the two list services hand out, released at the next call on
// the same thread: a data thread and the loading thread never share them.
// They hang on a thread-specific key whose destructor frees them at the
// thread's end: a thread_local object with a destructor would have the C
// library register that destructor at the thread's first call, and abort
// when the registration finds no memory.
struct Held
{
    char** names = nullptr;
    DD_VAR_STRUCT** variables = nullptr;

    void releaseNames()
    {
        if (names == nullptr)
            return;
        for (char** n = names; *n != nullptr; ++n) // null-terminated
            std::free(*n);
        std::free(names);
        names = nullptr;
    }
    void releaseVariables()
    {
        std::free(variables);
        variables = nullptr;
    }
};

pthread_key_t heldKey;
int heldKeyError = 0;

void releaseHeld(void* p)
{
    auto* held = static_cast<Held*>(p);
    held->releaseNames();
    held->releaseVariables();
    delete held;
}

void makeHeldKey()
{
    heldKeyError = pthread_key_create(&heldKey, releaseHeld);
}

// This thread's arrays; null, logged, when the record cannot be made.
Held* heldArrays(const char* caller)
{
    static pthread_once_t once = PTHREAD_ONCE_INIT;
    pthread_once(&once, makeHeldKey);
    if (heldKeyError != 0) {
        logMsg(1, "%s: no thread-specific key (error %d)\n", caller, heldKeyError);
        return nullptr;
    }
    if (void* p = pthread_getspecific(heldKey))
        return static_cast<Held*>(p);
    auto* held = new (std::nothrow) Held;
    if (held == nullptr || pthread_setspecific(heldKey, held) != 0) {
        delete held;
        logMsg(1, "%s: out of memory\n", caller);
        return nullptr;
    }
    return held;
}

int countVariables(const DD_DATA_TYPE_STRUCT* s)
{
    int n = 0;
    for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        ++n;
    return n;
}

} // namespace

int vddInit(DD_DATA_TYPE_STRUCT* s, char* name, int type, int symbolMode)
{
    if (s == nullptr)
        return -1;
    copyCut(s->name, sizeof s->name, name);
    s->type = type;
    s->symbolMode = symbolMode < 0 ? 0 : (symbolMode > 1 ? 1 : symbolMode);
    // A second Info starts the declarations afresh.
    dorneOptionsFree(s);
    s->dataOptionCount = s->varOptionCount = 0;
    return 0;
}

int vddOption(DD_DATA_TYPE_STRUCT* s, int scope, int kind, int flags, char* label, ...)
{
    if (s == nullptr)
        return -1;
    DD_OPTION_STRUCT** options = scope == 0 ? &s->dataOptions : &s->varOptions;
    int32_t* count = scope == 0 ? &s->dataOptionCount : &s->varOptionCount;
    // A source read from a file has counts but no declarations yet.
    const int held = *options != nullptr && *count > 0 ? *count : 0;
    auto* grown = static_cast<DD_OPTION_STRUCT*>(std::realloc(*options, sizeof(DD_OPTION_STRUCT) * size_t(held + 1)));
    if (grown == nullptr) {
        logMsg(1, "data->option 1: out of memory\n");
        return -1;
    }
    *options = grown;
    *count = held;
    DD_OPTION_STRUCT& option = grown[held];
    std::memset(&option, 0, sizeof option);
    option.kind = kind;
    option.flags = flags;
    copyCut(option.label, sizeof option.label, label);

    va_list args;
    va_start(args, label);
    int result = 0;
    if (kind == 1) {
        // Two passes over the texts: count them, then copy.
        va_list counting;
        va_copy(counting, args);
        int n = 0;
        while (n < kMaxChoices && va_arg(counting, const char*) != nullptr)
            ++n;
        va_end(counting);
        if (n > 0) {
            option.choices = static_cast<char(*)[32]>(std::calloc(size_t(n), 32));
            if (option.choices == nullptr) {
                logMsg(1, "data->option 4: out of memory\n");
                result = -1;
            } else {
                for (int i = 0; i < n; ++i)
                    copyCut(option.choices[i], 32, va_arg(args, const char*));
                option.choiceCount = n;
            }
        }
    } else if (kind == 2) {
        option.choices = static_cast<char(*)[32]>(std::calloc(1, 32));
        if (option.choices == nullptr) {
            logMsg(1, "data->option 5: out of memory\n");
            result = -1;
        } else {
            copyCut(option.choices[0], 32, va_arg(args, const char*));
            option.choiceCount = 1;
        }
    }
    va_end(args);
    if (result == 0)
        ++*count;
    return result;
}

int vddAddVariable(DD_DATA_TYPE_STRUCT* s, char* name, int type, ...)
{
    if (s == nullptr)
        return -1;
    const int n = s->varOptionCount > 0 ? s->varOptionCount : 0;
    DD_VAR_STRUCT* v = createVariable(n);
    if (v == nullptr)
        return -1;
    copyCut(v->name, sizeof v->name, name);
    v->type = type;
    if (s->varOptions != nullptr) {
        va_list args;
        va_start(args, type);
        for (int i = 0; i < n; ++i) {
            if (s->varOptions[i].kind == 0)
                copyCut(v->para[i].text, size_t(v->para[i].capacity), va_arg(args, const char*));
            else if (s->varOptions[i].kind == 1)
                v->para[i].value = va_arg(args, int);
        }
        va_end(args);
    }
    return appendVariable(&s->variables, v);
}

int vddDeleteAllVariables(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return 0;
    while (s->variables != nullptr) // each pass unlinks the head
        delVariable(&s->variables, s->variables);
    return 0;
}

char** vddGetAllVariables(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return nullptr;
    Held* held = heldArrays("vddGetAllVariables");
    if (held == nullptr)
        return nullptr;
    held->releaseNames();
    const int n = countVariables(s);
    auto** names = static_cast<char**>(std::calloc(size_t(n) + 1, sizeof(char*)));
    if (names == nullptr)
        return nullptr;
    held->names = names;
    int i = 0;
    for (const DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next, ++i) {
        names[i] = strndup(v->name, sizeof v->name - 1);
        if (names[i] == nullptr) {
            held->releaseNames();
            return nullptr;
        }
    }
    return names;
}

DD_VAR_STRUCT** vddGetAllVariablesS(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return nullptr;
    Held* held = heldArrays("vddGetAllVariablesS");
    if (held == nullptr)
        return nullptr;
    held->releaseVariables();
    const int n = countVariables(s);
    auto** variables = static_cast<DD_VAR_STRUCT**>(std::calloc(size_t(n) + 1, sizeof(DD_VAR_STRUCT*)));
    if (variables == nullptr)
        return nullptr;
    int i = 0;
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        variables[i++] = v;
    held->variables = variables;
    return variables;
}
