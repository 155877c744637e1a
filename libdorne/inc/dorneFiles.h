#ifndef DORNE_FILES_H
#define DORNE_FILES_H

/* View files: the fixed-width values every reader and writer goes through.
   Numbers are 4 bytes, most significant byte first, on every host; a text
   field has a fixed length n and holds at most n - 1 characters and a zero. */

#include "dorneExport.h"

#include <stdio.h>

/* The next 4 bytes as a signed 32-bit value; -1 when fewer than 4 remain
   (indistinguishable from a stored -1, which ends the readers' tag loops). */
DORNE_API int VGetFInt(FILE* file);

/* The next 4 bytes as an IEEE single; 0.0 when fewer than 4 remain. */
DORNE_API float VGetFFloat(FILE* file);

/* Reads n bytes into field (which holds n bytes) and zeroes field[n - 1].
   Bytes missing at the end of the file read as zero; n <= 0, a null argument
   or no memory for the scratch buffer leave the field untouched. */
DORNE_API void VGetFString(char* field, FILE* file, int n);

/* Write n bytes of field as they stand (also those behind its zero);
   1 on success, 0 on failure. */
DORNE_API int VPutFString(const char* field, FILE* file, int n);

/* Write the value as 4 bytes, most significant first; 1 on success, 0 on
   failure. */
DORNE_API int VPutFInt(int value, FILE* file);
DORNE_API int VPutFFloat(float value, FILE* file);

#endif
