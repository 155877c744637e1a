// A data-source module for the tests, written against the public header
// only: it appends one line per call it receives to the file named by the
// environment variable PROBE_TRACE. Built in variants (see CMakeLists.txt):
// PROBE_NAME names the module (libVdd<name>.so, vdd<name>Info ...),
// PROBE_TYPE its type number, PROBE_SYMBOL 1 makes it a symbol-mode module
// with globals named as its variables, PROBE_VERSION its interface version,
// PROBE_NO_VERSION and PROBE_NO_INFO leave those entry points out.
#include "dorneDataSources.h"

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#define PROBE_JOIN2(a, b, c) a##b##c
#define PROBE_JOIN(a, b, c) PROBE_JOIN2(a, b, c)
#define PROBE_ENTRY(suffix) PROBE_JOIN(vdd, PROBE_NAME, suffix)
#define PROBE_TEXT2(a) #a
#define PROBE_TEXT(a) PROBE_TEXT2(a)
#define PROBE_EXPORT extern "C" __attribute__((visibility("default")))

#ifndef PROBE_VERSION
#define PROBE_VERSION DD_MODULE_VERSION
#endif
#ifndef PROBE_SYMBOL
#define PROBE_SYMBOL 0
#endif

namespace {

int runs = 0;

void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void trace(const char* format, ...)
{
    const char* path = std::getenv("PROBE_TRACE");
    if (path == nullptr)
        return;
    FILE* file = std::fopen(path, "a");
    if (file == nullptr)
        return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fclose(file);
}

// The value of a variable as text, by its value type.
const char* valueText(const DD_VAR_STRUCT* v, char* out, size_t size)
{
    const void* p = v->value;
    if (p == nullptr)
        return "(none)";
    switch (v->type) {
    case DD_FLOAT:
        std::snprintf(out, size, "%g", double(*static_cast<const float*>(p)));
        break;
    case DD_DOUBLE:
        std::snprintf(out, size, "%g", *static_cast<const double*>(p));
        break;
    case DD_CHAR:
        std::snprintf(out, size, "%d", int(*static_cast<const int8_t*>(p)));
        break;
    case DD_UCHAR:
        std::snprintf(out, size, "%u", unsigned(*static_cast<const uint8_t*>(p)));
        break;
    case DD_SHORT:
        std::snprintf(out, size, "%d", int(*static_cast<const int16_t*>(p)));
        break;
    case DD_USHORT:
        std::snprintf(out, size, "%u", unsigned(*static_cast<const uint16_t*>(p)));
        break;
    case DD_INT:
        std::snprintf(out, size, "%" PRId32, *static_cast<const int32_t*>(p));
        break;
    case DD_UINT:
        std::snprintf(out, size, "%" PRIu32, *static_cast<const uint32_t*>(p));
        break;
    case DD_LONG:
        std::snprintf(out, size, "%" PRId64, *static_cast<const int64_t*>(p));
        break;
    case DD_ULONG:
        std::snprintf(out, size, "%" PRIu64, *static_cast<const uint64_t*>(p));
        break;
    case DD_STRING:
        std::snprintf(out, size, "'%s'", static_cast<const char*>(p));
        break;
    default:
        std::snprintf(out, size, "?");
        break;
    }
    return out;
}

char* text(const char* t)
{
    return const_cast<char*>(t);
}

} // namespace

#if PROBE_SYMBOL
// The module's side of the symbol-mode variables.
extern "C" {
__attribute__((visibility("default"))) int32_t probeInt = 0;
__attribute__((visibility("default"))) double probeDouble = 2.25;
__attribute__((visibility("default"))) int64_t probeLong = 0;
__attribute__((visibility("default"))) uint64_t probeULong = 0xF000000000000001u;
__attribute__((visibility("default"))) char probeText[256] = "module text";
}
#endif

#ifndef PROBE_NO_VERSION
PROBE_EXPORT int vddVersion(void)
{
    trace("version");
    return PROBE_VERSION;
}
#endif

#ifndef PROBE_NO_INFO
// Twelve source options and eleven variable options: more than the ten
// parameter entries a view file reader makes.
PROBE_EXPORT int PROBE_ENTRY(Info)(DD_DATA_TYPE_STRUCT* s)
{
    trace("info");
    s->vddInit(s, text(PROBE_TEXT(PROBE_NAME)), PROBE_TYPE, PROBE_SYMBOL);
    s->vddOption(s, 0, 0, 0, text("HOST"));
    s->vddOption(s, 0, 1, 0, text("MODE"), "Plain", "Fast", "Slow", nullptr);
    s->vddOption(s, 0, 2, 0, text("CONNECT"), "Connect");
    s->vddOption(s, 0, 3, 7, text("NOTE"));
    for (int i = 4; i < 12; ++i) {
        char label[8];
        std::snprintf(label, sizeof label, "P%d", i);
        s->vddOption(s, 0, 0, 0, label);
    }
    s->vddOption(s, 1, 0, 0, text("OFFSET"));
    s->vddOption(s, 1, 1, 0, text("SCALE"), "x1", "x10", nullptr);
    for (int i = 2; i < 11; ++i) {
        char label[8];
        std::snprintf(label, sizeof label, "V%d", i);
        s->vddOption(s, 1, 0, 0, label);
    }
    s->logMsgData("probe: %d and %d options declared\n", s->dataOptionCount, s->varOptionCount);
    return 0;
}
#endif

PROBE_EXPORT int PROBE_ENTRY(Open)(DD_DATA_TYPE_STRUCT* s)
{
    runs = 0;
    // Reads the last parameter of every option: the arrays must hold them.
    trace("open %s host=%s p11=%s", s->name, s->para[0].text, s->para[11].text);
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        trace("open %s offset=%s v10=%s", v->name, v->para[0].text, v->para[10].text);
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(Close)(DD_DATA_TYPE_STRUCT*)
{
    trace("close");
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(Run)(DD_DATA_TYPE_STRUCT*)
{
    ++runs;
#if PROBE_SYMBOL
    ++probeInt;
#endif
    trace("run %d", runs);
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(PostRun)(DD_DATA_TYPE_STRUCT*)
{
#if PROBE_SYMBOL
    trace("postRun probeInt=%d probeDouble=%g probeLong=%" PRId64 " probeULong=%" PRIu64 " probeText='%s'", probeInt,
          probeDouble, probeLong, probeULong, probeText);
#else
    trace("postRun");
#endif
    return 0;
}

// Writes the number of cycles into an int variable the view only reads.
PROBE_EXPORT int PROBE_ENTRY(Get)(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT*)
{
    trace("get %s", v->name);
    if (v->type == DD_INT && !v->write && v->value != nullptr)
        *static_cast<int32_t*>(v->value) = runs;
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(Set)(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT*)
{
    char value[300];
    trace("set %s changed=%d %s", v->name, int(v->changed), valueText(v, value, sizeof value));
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(StartView)(DD_DATA_TYPE_STRUCT* s)
{
    int n = 0;
    for (DD_VAR_STRUCT** v = s->vddGetAllVariablesS(s); v != nullptr && *v != nullptr; ++v)
        ++n;
    trace("startView %d variables", n);
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(NewData)(DD_DATA_TYPE_STRUCT* s)
{
    trace("newData %s", s->name);
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(NewVariable)(DD_VAR_STRUCT* v)
{
    trace("newVariable %s", v->name);
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(CallbackData)(int option, int value, char* t, DD_DATA_TYPE_STRUCT* s)
{
    trace("callbackData %d %d %s %s", option, value, t, s->name);
    return 0;
}

PROBE_EXPORT int PROBE_ENTRY(CallbackVar)(int option, int value, char* t, DD_VAR_STRUCT* v)
{
    trace("callbackVar %d %d %s %s", option, value, t, v->name);
    return 0;
}
