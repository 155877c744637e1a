/* libVddWave.so: a data-source module of the view engine.

   A view file names its data sources by type number. When a view loads,
   the engine looks for modules named "libVdd<Name>.so" in the current
   folder, then in "$NALVO_HOME/bin" and "$NALVO_HOME", and asks each one
   which kind of source it serves (vdd<Name>Info). When the view starts,
   every source of the view whose type number a module declared is served
   by that module: Open, then Run and Get once per exchange cycle (every
   10 ms in an animated view), Close when the view stops.

   This module is "Wave" (so the file is libVddWave.so and the entry points
   are vddWave...); it serves the type number 100 and fills two variables
   that a view declares for it:
     sine     sin(2 pi counter / 200): one period every 200 cycles (2 s)
     counter  the number of exchange cycles since the view started

   The module calls nothing in libdorne: the engine hands its services
   (vddInit, logMsgData, ...) over in the source record. It includes
   dorneDataSources.h for the records and DD_MODULE_VERSION only. */

#include <dorneDataSources.h>

#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define WAVE_TYPE 100   /* the type number a view's source names */
#define WAVE_PERIOD 200 /* cycles per period of the sine */

/* What one source of a view keeps while it runs: made by Open, released by
   Close, reached through source->privateData. */
typedef struct WaveState
{
    int64_t counter;
} WaveState;

/* The interface version: the engine refuses a module that returns anything
   else than the version of its own headers. */
int vddVersion(void)
{
    return DD_MODULE_VERSION;
}

/* Declares the kind: its name, its type number and symbol mode 0 (values
   are handed over through Get and Set, not through exported globals). The
   engine calls it at every view load; it must not hold on to the record. */
int vddWaveInfo(DD_DATA_TYPE_STRUCT* source)
{
    return source->vddInit(source, "Wave Data", WAVE_TYPE, 0);
}

/* A view with a Wave source starts. */
int vddWaveOpen(DD_DATA_TYPE_STRUCT* source)
{
    WaveState* state = calloc(1, sizeof *state);
    source->privateData = state;
    if (state == NULL) {
        source->logMsgData("Wave: out of memory\n");
        return -1;
    }
    source->logMsgData("Wave: open\n"); /* log level 3: shown with setLogLevel(3) */
    return 0;
}

/* The view stops (or is freed while running). */
int vddWaveClose(DD_DATA_TYPE_STRUCT* source)
{
    free(source->privateData);
    source->privateData = NULL;
    return 0;
}

/* Once per exchange cycle, before the variables are read. */
int vddWaveRun(DD_DATA_TYPE_STRUCT* source)
{
    WaveState* state = source->privateData;
    if (state != NULL)
        state->counter++;
    return 0;
}

/* Stores a number in the variable's value storage, in the value type the
   view file gave the variable (8 bytes of storage, 256 for a text). */
static void storeNumber(DD_VAR_STRUCT* variable, double number)
{
    void* value = variable->value;
    switch (variable->type) {
    case DD_FLOAT: *(float*)value = (float)number; break;
    case DD_DOUBLE: *(double*)value = number; break;
    case DD_CHAR: *(int8_t*)value = (int8_t)number; break;
    case DD_UCHAR: *(uint8_t*)value = (uint8_t)number; break;
    case DD_SHORT: *(int16_t*)value = (int16_t)number; break;
    case DD_USHORT: *(uint16_t*)value = (uint16_t)number; break;
    case DD_INT: *(int32_t*)value = (int32_t)number; break;
    case DD_UINT: *(uint32_t*)value = (uint32_t)number; break;
    case DD_LONG: *(int64_t*)value = (int64_t)number; break;
    case DD_ULONG: *(uint64_t*)value = (uint64_t)number; break;
    case DD_STRING: snprintf(value, 256, "%g", number); break;
    default: break;
    }
}

/* Once per cycle for every variable of the source: fills in its value. A
   variable the module does not know keeps its value. */
int vddWaveGet(DD_VAR_STRUCT* variable, DD_DATA_TYPE_STRUCT* source)
{
    const WaveState* state = source->privateData;
    if (state == NULL || variable->value == NULL)
        return -1;
    if (strcmp(variable->name, "sine") == 0) {
        const double twoPi = 6.283185307179586;
        storeNumber(variable, sin(twoPi * (double)(state->counter % WAVE_PERIOD) / WAVE_PERIOD));
    } else if (strcmp(variable->name, "counter") == 0) {
        storeNumber(variable, (double)state->counter);
    }
    return 0;
}
