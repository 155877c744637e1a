/* The public headers are C headers: this file only has to compile as C. */
#include "sartoData.h"
#include "sartoExport.h"
#include "sartoFonts.h"
#include "sartoLibrary.h"
#include "sartoPlatform.h"

int sartoHeadersCompileAsC(void)
{
    FNT_STRUCT state = {0};
    API_FILE file = {{0}};
    FNT_FONT_HANDLE handle = {0};
    return (int)(sizeof state.buildin + sizeof file.name + sizeof handle + sizeof(FNT_FONT));
}
