// "Auto Data" (type number 1): test signals computed from the wall clock once
// per cycle (Run) and mapped per variable onto its MIN..MAX range (Get).
#include "sources/builtinSources.h"
#include "data/dataValue.h"
#include "sources/sourceAuto.h"

#include "dorneLog.h"
#include "dornePlatform.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

using dorne::AutoDataState;

namespace {

const double kFrequencies[dorne::kAutoFrequencies] = {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0};

enum
{
    kSin,
    kSinIncrease,
    kSinHalfWave,
    kSinRandom,
    kTriangle,
    kSaw1,
    kSaw2,
    kRectangle,
    kRandom,
    kFrequency,
    kDate,
    kTime
};

// Option indexes of a variable.
enum
{
    kOptType,
    kOptFrequency,
    kOptMin,
    kOptMax,
    kOptions
};

AutoDataState* stateOf(DD_DATA_TYPE_STRUCT* s)
{
    return s != nullptr ? static_cast<AutoDataState*>(s->privateData) : nullptr;
}

bool hasOptions(const DD_VAR_STRUCT* v)
{
    return v != nullptr && v->para != nullptr && v->paraAlloc >= kOptions && v->para[kOptMin].text != nullptr &&
           v->para[kOptMax].text != nullptr;
}

void setText(DD_PARA_STRUCT& para, const char* text)
{
    if (para.text != nullptr && para.capacity > 0)
        std::snprintf(para.text, size_t(para.capacity), "%s", text);
}

// The range a kind's signal spans, as the editor presets MIN and MAX.
void presetRange(DD_VAR_STRUCT* v, int kind)
{
    switch (kind) {
    case kSinHalfWave:
    case kTriangle:
    case kSaw1:
    case kSaw2:
    case kRectangle:
        setText(v->para[kOptMin], "0.0");
        setText(v->para[kOptMax], "1.0");
        break;
    case kDate:
    case kTime:
        setText(v->para[kOptMin], "0.0");
        setText(v->para[kOptMax], "0.0");
        break;
    default:
        setText(v->para[kOptMin], "-1.0");
        setText(v->para[kOptMax], "1.0");
        break;
    }
}

int vddAutoVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("Auto Data"), 1, 0);
    s->vddOption(s, 1, 1, 0, ddText("TYPE"), "SIN", "SIN Increase", "SIN Half Wave", "SIN Random", "TRIANGLE",
                 "SAW 1", "SAW 2", "RECTANGLE", "RANDOM", "FREQUENCY", "DATE", "TIME", nullptr);
    s->vddOption(s, 1, 1, 0, ddText("FREQUENCY"), "0.01 Hz", "0.02 Hz", "0.05 Hz", "0.10 Hz", "0.20 Hz", "0.50 Hz",
                 "1.00 Hz", "2.00 Hz", "5.00 Hz", "10.0 Hz", nullptr);
    s->vddOption(s, 1, 0, 0, ddText("MIN"));
    s->vddOption(s, 1, 0, 0, ddText("MAX"));
    return 0;
}

// A zeroed state at every open: FREQUENCY reads 0.0, the table 0 until Run.
int vddAutoVarOpen(DD_DATA_TYPE_STRUCT* s)
{
    std::free(s->privateData);
    s->privateData = std::calloc(1, sizeof(AutoDataState));
    if (s->privateData == nullptr) {
        logMsg(1, "vddAutoVarOpen: out of memory\n");
        return -1;
    }
    return 0;
}

int vddAutoVarClose(DD_DATA_TYPE_STRUCT* s)
{
    std::free(s->privateData);
    s->privateData = nullptr;
    return 0;
}

int vddAutoVarStartView(DD_DATA_TYPE_STRUCT* s)
{
    AutoDataState* state = stateOf(s);
    if (state == nullptr)
        return -1;
    state->startTime = apiGetTime();
    return 0;
}

int vddAutoVarRun(DD_DATA_TYPE_STRUCT* s)
{
    AutoDataState* state = stateOf(s);
    if (state == nullptr)
        return 0;
    const double now = apiGetTime();
    const double t = now - state->startTime;
    const float r = float(double(rand_r(&state->random)) / 2147483648.0);
    for (int i = 0; i < dorne::kAutoFrequencies; ++i) { // 10 frequencies
        // The phase is reduced in double precision: after days of running
        // it neither overflows nor loses its fraction.
        double a = std::fmod(t * kFrequencies[i] * 360.0, 360.0);
        if (a < 0.0)
            a += 360.0; // the clock was set back
        const float sine = float(std::sin(a * 0.017453292));
        float* column = state->table + i;
        const int row = dorne::kAutoFrequencies;
        column[kSin * row] = sine;
        column[kSinIncrease * row] = float(t * 0.1 + sine);
        column[kSinHalfWave * row] = std::fabs(sine);
        column[kSinRandom * row] = (r - 0.5f) * 0.3f + sine;
        column[kTriangle * row] = float(a < 180.0 ? a / 180.0 : (a - 180.0) / -180.0 + 1.0);
        column[kSaw1 * row] = float(a / 360.0);
        column[kSaw2 * row] = float(a / -360.0 + 1.0);
        column[kRectangle * row] = a < 180.0 ? 0.0f : 1.0f;
        column[kRandom * row] = r;
    }
    const time_t seconds = time_t(now);
    tm local;
    if (localtime_r(&seconds, &local) != nullptr) {
        std::snprintf(state->date, sizeof state->date, "%02d.%02d.%02d ", local.tm_mday, local.tm_mon + 1,
                      local.tm_year + 1900);
        std::snprintf(state->time, sizeof state->time, "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                      local.tm_sec);
    }
    return 0;
}

int vddAutoVarGet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT* s)
{
    AutoDataState* state = stateOf(s);
    if (state == nullptr || v->value == nullptr || !hasOptions(v))
        return 0;
    const int kind = v->para[kOptType].value;
    double low = std::strtod(v->para[kOptMin].text, nullptr);
    double high = std::strtod(v->para[kOptMax].text, nullptr);
    if (low == 0.0 && high == 0.0) {
        presetRange(v, kind);
        low = std::strtod(v->para[kOptMin].text, nullptr);
        high = std::strtod(v->para[kOptMax].text, nullptr);
    }
    if (kind >= kSin && kind <= kRandom) {
        const int frequency = v->para[kOptFrequency].value;
        if (frequency < 0 || frequency >= dorne::kAutoFrequencies)
            return 0; // not a frequency of the table
        const bool symmetric = kind == kSin || kind == kSinIncrease || kind == kSinRandom;
        const double lo = symmetric ? -1.0 : 0.0;
        const double hi = 1.0;
        const double slope = (low - high) / (lo - hi);
        const double offset = low - slope * lo;
        const float value = float(offset + double(state->table[kind * dorne::kAutoFrequencies + frequency]) * slope);
        std::memcpy(v->value, &value, 4);
    } else if (kind == kFrequency) {
        std::memcpy(v->value, &state->frequencySlot, 4);
    } else if ((kind == kDate || kind == kTime) && v->type == DD_STRING) {
        // Only a text variable has room for the text.
        dorne::copyText(static_cast<char*>(v->value), kind == kDate ? state->date : state->time);
    }
    return 0;
}

int vddAutoVarNewVariable(DD_VAR_STRUCT* v)
{
    if (!hasOptions(v))
        return 0;
    v->para[kOptType].value = kSin;
    v->para[kOptFrequency].value = 0;
    presetRange(v, kSin);
    v->type = DD_FLOAT;
    return 0;
}

int vddAutoVarCallbackVar(int option, int value, char*, DD_VAR_STRUCT* v)
{
    if (option != kOptType || !hasOptions(v))
        return 0;
    presetRange(v, value);
    v->type = (value == kDate || value == kTime) ? DD_STRING : DD_FLOAT;
    return 0;
}

} // namespace

void autoDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddAutoVarInfo;
    s->fnOpen = vddAutoVarOpen;
    s->fnClose = vddAutoVarClose;
    s->fnRun = vddAutoVarRun;
    s->fnGet = vddAutoVarGet;
    s->fnSet = nullptr; // no defaults; what the view writes the next Get replaces
    s->fnStartView = vddAutoVarStartView;
    s->fnNewVariable = vddAutoVarNewVariable;
    s->fnCallbackVar = vddAutoVarCallbackVar;
}
