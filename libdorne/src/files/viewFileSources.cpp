// The data-source section of the binary view file: sources with their
// parameters and variables with theirs. Read in the forms of 3.01 and
// 3.02/3.03, written in the form of 3.03.
#include "files/viewFile.h"
#include "files/viewFileOld.h"

#include "data/dataLists.h"

#include "dorneFiles.h"
#include "dorneLog.h"

#include <climits>
#include <cstdlib>

namespace dorne {

namespace {

const int32_t kParaText = 64;       // a source parameter's text, a 3.01 variable parameter's
const int32_t kMinParameters = 10;  // entries a source or variable read from a file gets at least
const int32_t kGrowth = 12;         // bytes a stored text buffer grows by when it is read
const int64_t kSourceBytes = 4 + 4 + 4 + 4;    // type, two parameter counts, variable count
const int64_t kVariableBytes = 4 + 64 + 64;    // value type, name, default
const int64_t kSourceParameterBytes = 4 + kParaText;
const int32_t kSizedMax = 256;      // variable parameters sized ahead of reading, at most

enum class ParameterForm
{
    Fixed64,        // 3.01: value and 64 bytes
    LengthPrefixed, // 3.02, 3.03: value, length L, L bytes
    NoDefault       // 1.11 to 3.00: as 3.01, the variables without default text
};

int64_t variableParameterBytes(ParameterForm form)
{
    return form == ParameterForm::LengthPrefixed ? 4 + 4 + 1 : 4 + kParaText;
}

int32_t bigEndian(const unsigned char* b)
{
    const uint32_t u = (uint32_t(b[0]) << 24) | (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
    return int32_t(u);
}

// The text capacities the next variable record's first parameters will
// have once read (64, or L + 12 for a stored length L of 64 or more), as
// far as the record lies in the bytes the reader holds, so that the
// variable is made in one piece; the count sized. A length the reader will
// refuse ends the sizing; entries not sized get 64 bytes, grown when read.
int32_t sizeParameters(ViewReader& in, int32_t v, int32_t* capacities)
{
    const int32_t n = v < kSizedMax ? v : kSizedMax;
    int64_t offset = kVariableBytes;
    int32_t p = 0;
    for (; p < n; ++p) {
        const unsigned char* bytes;
        if (in.peek(bytes, offset + 8) < offset + 8)
            break;
        const int32_t length = bigEndian(bytes + offset + 4);
        if (length < 1 || length > INT32_MAX - kGrowth)
            break;
        offset += 8 + int64_t(length);
        if (offset > in.remaining())
            break;
        capacities[p] = length < kParaText ? kParaText : length + kGrowth;
    }
    return p;
}

bool readVariableParameter(ViewReader& in, DD_VAR_STRUCT* var, DD_PARA_STRUCT& para, ParameterForm form)
{
    if (!in.readInt(para.value, "a variable parameter"))
        return false;
    if (form != ParameterForm::LengthPrefixed)
        return in.readFixed(para.text, kParaText, "a variable parameter");
    int32_t length;
    if (!in.readLength(length, 1, INT32_MAX - kGrowth, "variable parameter"))
        return false;
    // A buffer no larger than the stored text grows to hold it and 12 bytes
    // more; zeroed, since a save writes the whole buffer.
    if (para.capacity <= length && dorneParaReplaceText(&para, length + kGrowth, var) != 0)
        return in.refuse("out of memory");
    return in.readFixed(para.text, length, "a variable parameter");
}

bool readVariables(ViewReader& in, DD_DATA_TYPE_STRUCT* source, ParameterForm form)
{
    const int32_t v = source->varOptionCount;
    int32_t count;
    const int64_t head = form == ParameterForm::NoDefault ? kVariableBytes - 64 : kVariableBytes;
    if (!in.readCount(count, head + int64_t(v) * variableParameterBytes(form), "variable"))
        return false;
    DD_VAR_STRUCT* last = nullptr;
    int32_t capacities[kSizedMax];
    for (int32_t i = 0; i < count; ++i) { // bounded: the count fits into the file
        const int32_t sized = form == ParameterForm::LengthPrefixed ? sizeParameters(in, v, capacities) : 0;
        DD_VAR_STRUCT* var =
            dorneVariableCreatePacked(v > kMinParameters ? v : kMinParameters, capacities, sized);
        if (var == nullptr) {
            logMsg(1, "createVariable: out of memory\n");
            return in.refuse("out of memory");
        }
        linkBehind(&source->variables, last, var);
        var->paraCount = v;
        if (!in.readInt(var->type, "a variable") || !in.readFixed(var->name, sizeof var->name, "a variable") ||
            (form != ParameterForm::NoDefault &&
             !in.readFixed(var->defaultText, sizeof var->defaultText, "a variable")))
            return false;
        for (int32_t p = 0; p < v; ++p)
            if (!readVariableParameter(in, var, var->para[p], form))
                return false;
    }
    return true;
}

bool readSection(ViewReader& in, ViewContent& out, ParameterForm form)
{
    int32_t count;
    if (!in.readCount(count, kSourceBytes, "data source"))
        return false;
    for (int32_t i = 0; i < count; ++i) { // bounded: the count fits into the file
        int32_t type, d, v;
        if (!in.readInt(type, "a data source") || !in.readInt(d, "a data source") ||
            !in.readInt(v, "a data source"))
            return false;
        if (d < 0 || d > in.remaining() / kSourceParameterBytes)
            return in.refuse("data parameter count %d out of range", d);
        if (v < 0)
            return in.refuse("variable parameter count %d out of range", v);
        DD_DATA_TYPE_STRUCT* source = dorneDataTypeCreatePacked(d > kMinParameters ? d : kMinParameters);
        if (source == nullptr) {
            logMsg(1, "createDataType: out of memory\n");
            return in.refuse("out of memory");
        }
        out.addSource(source);
        source->type = type;
        source->dataOptionCount = d;
        source->varOptionCount = v;
        for (int32_t p = 0; p < d; ++p)
            if (!in.readInt(source->para[p].value, "a data parameter") ||
                !in.readFixed(source->para[p].text, kParaText, "a data parameter"))
                return false;
        if (!readVariables(in, source, form))
            return false;
    }
    return true;
}

// The fixed-size text of a source parameter: its first 64 bytes, zeros
// where the buffer is shorter or missing.
bool writeSourceParameter(FILE* file, const DD_DATA_TYPE_STRUCT* source, int32_t p)
{
    static const char zeros[kParaText] = {};
    const DD_PARA_STRUCT* para = p < source->paraAlloc ? &source->para[p] : nullptr;
    if (para == nullptr || para->text == nullptr)
        return VPutFInt(0, file) && VPutFString(zeros, file, kParaText);
    const int32_t n = para->capacity < kParaText ? (para->capacity > 0 ? para->capacity : 0) : kParaText;
    return VPutFInt(para->value, file) && VPutFString(para->text, file, n) &&
           VPutFString(zeros, file, kParaText - n);
}

// A variable parameter: value, the buffer's capacity and the whole buffer.
// An entry the variable lacks is written as a new one (64 zero bytes).
bool writeVariableParameter(FILE* file, const DD_VAR_STRUCT* var, int32_t p)
{
    static const char zeros[kParaText] = {};
    const DD_PARA_STRUCT* para = p < var->paraAlloc ? &var->para[p] : nullptr;
    if (para == nullptr || para->text == nullptr || para->capacity < 1)
        return VPutFInt(0, file) && VPutFInt(kParaText, file) && VPutFString(zeros, file, kParaText);
    return VPutFInt(para->value, file) && VPutFInt(para->capacity, file) &&
           VPutFString(para->text, file, para->capacity);
}

template <typename T>
int32_t countOf(const T* list)
{
    int32_t n = 0;
    for (; list != nullptr; list = list->next)
        ++n;
    return n;
}

} // namespace

bool dataLoad_301(ViewReader& in, ViewContent& out)
{
    return readSection(in, out, ParameterForm::Fixed64);
}

bool dataLoad_303(ViewReader& in, ViewContent& out)
{
    return readSection(in, out, ParameterForm::LengthPrefixed);
}

bool dataLoad_111(ViewReader& in, ViewContent& out)
{
    return readSection(in, out, ParameterForm::NoDefault);
}

bool dataSave_303(FILE* file, const DD_DATA_TYPE_STRUCT* sources)
{
    if (!VPutFInt(countOf(sources), file))
        return false;
    for (const DD_DATA_TYPE_STRUCT* s = sources; s != nullptr; s = s->next) {
        const int32_t d = s->dataOptionCount > 0 ? s->dataOptionCount : 0;
        const int32_t v = s->varOptionCount > 0 ? s->varOptionCount : 0;
        if (!VPutFInt(s->type, file) || !VPutFInt(d, file) || !VPutFInt(v, file))
            return false;
        for (int32_t p = 0; p < d; ++p)
            if (!writeSourceParameter(file, s, p))
                return false;
        if (!VPutFInt(countOf(s->variables), file))
            return false;
        for (const DD_VAR_STRUCT* var = s->variables; var != nullptr; var = var->next) {
            if (!VPutFInt(var->type, file) || !VPutFString(var->name, file, sizeof var->name) ||
                !VPutFString(var->defaultText, file, sizeof var->defaultText))
                return false;
            for (int32_t p = 0; p < v; ++p)
                if (!writeVariableParameter(file, var, p))
                    return false;
        }
    }
    return true;
}

} // namespace dorne
