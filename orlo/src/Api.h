#ifndef ORLO_API_H
#define ORLO_API_H

// Flat platform layer: directory listing, time of day and shared libraries.

void* apiOpenDir(const char* path);
// Copies the next entry name (at most 255 characters and a zero) into the
// 256-byte buffer; 1 for an entry, 0 at the end or on a null argument.
int apiReadDir(void* handle, char* buffer);
int apiCloseDir(void* handle);

double apiGetTime();

void* apiDllOpen(const char* path);
int apiDllClose(void* handle);
void* apiDllGetSymbol(void* handle, const char* name);

#endif
