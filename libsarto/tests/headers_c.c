/* The public headers are C headers: this file only has to compile as C. */
#include "sartoData.h"
#include "sartoExport.h"
#include "sartoLibrary.h"
#include "sartoPlatform.h"

int sartoHeadersCompileAsC(void)
{
    FNT_STRUCT state = {0};
    API_FILE file = {{0}};
    return (int)(sizeof state.buildin + sizeof file.name);
}
