// The revisions before 3.01: their view blocks, the fixed data-source
// records of 1.00 to 1.10 turned into today's sources and variables, and
// the groups of revisions that share a layout.
#include "files/viewFileOld.h"
#include "files/viewFileFields.h"

#include "data/dataLists.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace dorne {

namespace {

const int32_t kOldText = 128;   // the text of a fixed source record, a 1.07 view text
const int32_t kNewSlots = 10;   // parameters a new source has

// ---- View blocks ---------------------------------------------------------------

bool readViewFloats(ViewReader& in, CONFIG_STRUCT& config)
{
    return in.readFloat(config.x, "the view block") && in.readFloat(config.y, "the view block") &&
           in.readFloat(config.width, "the view block") && in.readFloat(config.height, "the view block") &&
           in.readFloat(config.r, "the view block") && in.readFloat(config.g, "the view block") &&
           in.readFloat(config.b, "the view block");
}

// 1.07 to 1.10 carry five texts behind the floats.
bool readViewBlock107(ViewReader& in, CONFIG_STRUCT& config)
{
    if (!readViewFloats(in, config))
        return false;
    for (char* text : config.texts)
        if (!in.readFixed(text, kOldText, "the view block"))
            return false;
    return true;
}

// ---- Fixed source records ------------------------------------------------------

// Test-signal numbers of the old files as choices of today's "TYPE".
const int32_t kSignalChoice[] = {0, 1, 4, 5, 6, 7, 10, 11, 2, 3, 8, 9};

struct OldSource
{
    int32_t kind;
    int32_t k[8]; // k1 to k8 at k[0] to k[7]
    char text[kOldText];
};

void setNumber(DD_PARA_STRUCT& para, int32_t value)
{
    std::snprintf(para.text, size_t(para.capacity), "%d", value);
}

void setHex(DD_PARA_STRUCT& para, int32_t value)
{
    std::snprintf(para.text, size_t(para.capacity), "0x%x", unsigned(value));
}

// Copies the old record's text into a parameter, cut to what the buffer
// holds (with a warning naming the source).
void copyText(DD_PARA_STRUCT& para, const char* text, int number)
{
    const size_t n = strnlen(text, kOldText);
    const size_t room = size_t(para.capacity) - 1;
    if (n > room)
        logMsg(2, "data source %d: text \"%.40s...\" cut to %zu characters\n", number, text, room);
    const size_t take = n < room ? n : room;
    std::memcpy(para.text, text, take);
    para.text[take] = '\0';
}

// Type number, D, V and parameters of an old kind (form: 100, 101, 102 or
// 107; number counts the sources of the section for messages).
void convertSource(DD_DATA_TYPE_STRUCT* s, const OldSource& old, int form, int number)
{
    const bool f107 = form == 107;
    const int32_t littleEndian = old.k[2] == 0 ? 1 : 0;
    DD_PARA_STRUCT* p = s->para;
    int32_t type = 0, d = 0, v = 0;
    switch (old.kind) {
    case 0:
        type = 3, d = 4, v = 1;
        setHex(p[0], old.k[0]);
        p[1].value = littleEndian;
        p[2].value = f107 ? old.k[7] : 0;
        break;
    case 1:
        type = 4, d = 3, v = 1;
        setHex(p[0], old.k[6]);
        setNumber(p[1], old.k[1]);
        p[2].value = littleEndian;
        break;
    case 2:
        type = f107 ? 51 : 50, d = 5, v = f107 ? 2 : 1;
        copyText(p[0], old.text, number);
        p[1].value = old.k[3], p[2].value = old.k[4], p[3].value = old.k[5];
        p[4].value = littleEndian;
        break;
    case 3:
        type = f107 ? 54 : 51, d = 3, v = f107 ? 2 : 1;
        copyText(p[0], old.text, number);
        p[1].value = old.k[3];
        p[2].value = littleEndian;
        break;
    case 4:
        type = 2, v = 1;
        break;
    case 5:
        type = 1, v = 2;
        break;
    case 6:
        type = 52, d = f107 ? 2 : 3, v = f107 ? 2 : 1;
        copyText(p[0], old.text, number);
        if (f107) {
            p[1].value = littleEndian;
        } else {
            p[1].value = old.k[3];
            p[2].value = littleEndian;
        }
        break;
    case 7:
        type = 5;
        break;
    default:
        break;
    }
    s->type = type;
    s->dataOptionCount = d;
    s->varOptionCount = v;
}

struct OldVariable
{
    int32_t offset = 0;
    float value = 0;
    int32_t signal = 0;
    int32_t frequency = 0;
};

// The parameters of a variable of a source of old kind.
void convertVariable(DD_VAR_STRUCT* var, const OldVariable& old, int32_t kind, int form, int version)
{
    DD_PARA_STRUCT* p = var->para;
    switch (kind) {
    case 0:
    case 1:
        setNumber(p[0], old.offset);
        break;
    case 2:
    case 3:
    case 6:
        setNumber(p[0], old.offset);
        if (form == 107)
            p[1].value = 1;
        break;
    case 4:
        std::snprintf(p[0].text, size_t(p[0].capacity), "%f", double(old.value));
        break;
    case 5: {
        if (old.signal >= 0 && old.signal < int32_t(sizeof kSignalChoice / sizeof kSignalChoice[0])) {
            p[0].value = kSignalChoice[old.signal];
        } else {
            logMsg(2, "variable %.63s: signal %d unknown, taken as SIN\n", var->name, old.signal);
            p[0].value = 0;
        }
        // Before 1.08 the frequency choices were counted from a list with
        // three more entries in front.
        const bool shifted = form == 102 || (form == 107 && version < 108);
        p[1].value = shifted && old.frequency <= INT32_MAX - 3 ? old.frequency + 3 : old.frequency;
        break;
    }
    default:
        break;
    }
}

// One fixed-record section in the form of 100, 101, 102 or 107.
bool readFixedSection(ViewReader& in, ViewContent& out, int form)
{
    const int kInts = form >= 102 ? 8 : 7;
    const bool full = form >= 101; // variables with value, signal and frequency
    const int64_t sourceBytes = 4 + 4 * kInts + kOldText + 4;
    const int64_t variableBytes = 4 + 64 + 4 + (full ? 12 : 0);
    int32_t count;
    if (!in.readCount(count, sourceBytes, "data source"))
        return false;
    for (int32_t i = 0; i < count; ++i) { // bounded: the count fits into the file
        OldSource old{};
        FieldReader r(in, "a data source");
        r.i(old.kind);
        for (int k = 0; k < kInts; ++k)
            r.i(old.k[k]);
        if (!r.text(old.text, kOldText).ok())
            return false;
        DD_DATA_TYPE_STRUCT* source = dorneDataTypeCreatePacked(kNewSlots);
        if (source == nullptr) {
            logMsg(1, "createDataType: out of memory\n");
            return in.refuse("out of memory");
        }
        out.addSource(source);
        convertSource(source, old, form, i + 1);
        const int32_t v = source->varOptionCount;
        int32_t variables;
        if (!in.readCount(variables, variableBytes, "variable"))
            return false;
        DD_VAR_STRUCT* last = nullptr;
        for (int32_t n = 0; n < variables; ++n) { // bounded: the count fits into the file
            DD_VAR_STRUCT* var = dorneVariableCreatePacked(v, nullptr, 0);
            if (var == nullptr) {
                logMsg(1, "createVariable: out of memory\n");
                return in.refuse("out of memory");
            }
            linkBehind(&source->variables, last, var);
            var->paraCount = v;
            OldVariable ov;
            FieldReader f(in, "a variable");
            f.i(var->type).text(var->name, int32_t(sizeof var->name)).i(ov.offset);
            if (full)
                f.f(ov.value).i(ov.signal).i(ov.frequency);
            if (!f.ok())
                return false;
            convertVariable(var, ov, old.kind, form, in.version);
        }
    }
    return true;
}

bool dataLoad_100(ViewReader& in, ViewContent& out)
{
    return readFixedSection(in, out, 100);
}

bool dataLoad_101(ViewReader& in, ViewContent& out)
{
    return readFixedSection(in, out, 101);
}

bool dataLoad_102(ViewReader& in, ViewContent& out)
{
    return readFixedSection(in, out, 102);
}

bool dataLoad_107(ViewReader& in, ViewContent& out)
{
    return readFixedSection(in, out, 107);
}

template <int Group>
bool elementRecord(ViewReader& in, ViewContent& out, int32_t kind)
{
    return elementLoadOld(in, Group, out, kind);
}

} // namespace

const RevisionGroup kRevision100 = {readViewFloats, dataLoad_100, elementRecord<100>};
const RevisionGroup kRevision101 = {readViewFloats, dataLoad_101, elementRecord<101>};
const RevisionGroup kRevision102 = {readViewFloats, dataLoad_102, elementRecord<102>};
const RevisionGroup kRevision107 = {readViewBlock107, dataLoad_107, elementRecord<107>};
const RevisionGroup kRevision111 = {readViewFloats, dataLoad_111, elementRecord<111>};
const RevisionGroup kRevision113 = {readViewFloats, dataLoad_111, elementRecord<113>};
const RevisionGroup kRevision201 = {readViewFloats, dataLoad_111, elementRecord<201>};
const RevisionGroup kRevision202 = {readViewFloats, dataLoad_111, elementRecord<202>};
const RevisionGroup kRevision203 = {readViewFloats, dataLoad_111, elementRecord<203>};
const RevisionGroup kRevision204 = {readViewFloats, dataLoad_111, elementRecord<204>};

} // namespace dorne
