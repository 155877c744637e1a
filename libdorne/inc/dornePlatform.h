#ifndef DORNE_PLATFORM_H
#define DORNE_PLATFORM_H

/* Platform layer of the view engine: modules, folders, the clock, the GL
   context and the engine's version texts. Failures give null or 0 and print
   nothing. */

#include "dorneExport.h"

/* API_DIR (an open folder listing, owned; release it with apiCloseDir) and
   API_FILE (one entry name of at most 255 characters and a zero) are the
   font library's: one platform layer lists folders for both libraries. */
#include "sartoPlatform.h"

/* Loads a shared library with every symbol bound at once; its handle, or null
   for a null path or when loading fails. */
DORNE_API void* apiDllOpen(const char* path);

/* The address of a symbol; null for a null argument or an absent symbol. */
DORNE_API void* apiDllGetSymbol(void* handle, const char* name);

/* Unloads the library (a null handle does nothing); 0. */
DORNE_API int apiDllClose(void* handle);

/* Opens a folder for listing; null when it cannot be opened. */
DORNE_API API_DIR* apiOpenDir(const char* path);

/* Copies the next entry name into file and returns 1; 0 at the end or for a
   null argument. Entries come in the system's order, "." and ".." included. */
DORNE_API int apiReadDir(API_DIR* dir, API_FILE* file);

/* Closes and frees the listing; 1, or 0 for a null handle. */
DORNE_API int apiCloseDir(API_DIR* dir);

/* Time of day in seconds since the epoch (microsecond resolution). */
DORNE_API double apiGetTime(void);

/* Identity of the current OpenGL context: always 1 on this platform. */
DORNE_API int getGlContext(void);

/* Release of the view-file format the writers produce: 303. */
DORNE_API int VGet_releasenr(void);

/* The version text "3.3.20", in a static buffer that the next call of this
   function or of VGet_release rewrites. */
DORNE_API const char* VGet_releaseshort(void);

/* A one-line release banner, in the same static buffer. */
DORNE_API const char* VGet_release(void);

/* Build date and time of the library ("Feb  4 2012 15:47:59"), in a static
   buffer of its own. */
DORNE_API const char* get_ctime(void);

#endif
