#ifndef SARTO_PLATFORM_H
#define SARTO_PLATFORM_H

/* Platform layer of the font library: folder listing and the identity of the
   current OpenGL context. Failures give null or 0 and print nothing. */

#include "sartoExport.h"

#include <stdint.h>

/* The folder listing records of both libraries: the view engine's platform
   header takes them from here, so a handle means the same in either. */

/* An open folder listing (owned; release it with ftApiCloseDir, or with the
   view engine's apiCloseDir). */
typedef struct API_DIR API_DIR;

/* Receives one entry name: at most 255 characters and a zero. */
typedef struct API_FILE
{
    char name[256];
} API_FILE;

/* Opens a folder for listing; null when it cannot be opened. */
SARTO_API API_DIR* ftApiOpenDir(const char* path);

/* Copies the next entry name into file and returns 1; 0 at the end or for a
   null argument. Entries come in the system's order, "." and ".." included. */
SARTO_API int ftApiReadDir(API_DIR* dir, API_FILE* file);

/* Closes and frees the listing; 1, or 0 for a null handle. */
SARTO_API int ftApiCloseDir(API_DIR* dir);

/* Identity of the current OpenGL context: 1 while one is current (every
   context shares that identity on this platform), 0 when none is. */
SARTO_API int64_t ftApiGetGlContext(void);

#endif
