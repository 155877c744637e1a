/* The two platform headers in the order opposite to headers_c.c: the font
   library's first. Only has to compile as C. */
#include "sartoPlatform.h"
#include "dornePlatform.h"

int dornePlatformHeadersInEitherOrder(void)
{
    API_FILE file = {{0}};
    API_DIR* dir = ftApiOpenDir(".");
    const int read = apiReadDir(dir, &file);
    return read + apiCloseDir(dir) + (int)sizeof file.name;
}
