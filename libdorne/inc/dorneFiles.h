#ifndef DORNE_FILES_H
#define DORNE_FILES_H

/* View files: the binary view file ("VIEW FILE", revision 3.03 written,
   3.01 to 3.03 read) and the fixed-width values every reader and writer goes
   through. Numbers are 4 bytes, most significant byte first, on every host;
   a text field has a fixed length n and holds at most n - 1 characters and a
   zero. */

#include "dorneExport.h"
#include "dorneView.h"

#include <stdio.h>

/* Reads the view file at path: appends its top-level elements to *elements
   and its data sources (with their stored parameters and variables; not yet
   merged with the registered kinds) to *sources, fills the view block of
   config (position, size, page colour; its texts stay), then resolves the
   stored line styles and fill patterns of every element of *elements and
   runs their update hooks. 0 when the whole file was read. -1, logged at
   level 1, for a null argument, a file that cannot be opened or is not a
   regular file ("cannot open file"), no magic ("wrong file format"), a
   revision without a reader ("loadFile: rev <n> not supported"), element
   records (not read yet), and a file that is cut or holds a count or length
   that does not fit it; the lists and config are then as they were. The
   caller owns what is appended (elementDeleteAll, delDataType). */
DORNE_API int loadFile(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                       CONFIG_STRUCT* config);

/* Reads only the header and the view block into config. 0 on success;
   minus the system error number when the file cannot be opened (printed
   with perror "file open"); -1, logged, for a null argument, no magic, a
   revision without a reader or a cut view block (config unchanged). */
DORNE_API int loadConfigFile(const char* path, CONFIG_STRUCT* config);

/* Writes the view as revision 3.03: header, the view block of config, then
   the data sources (the source and variable parameter counts they declare;
   a variable parameter with its buffer's whole capacity, so a text grows by
   12 bytes per load and save). The file is written beside path under a name
   of its own, synced and renamed over path only when complete; a link at
   path is followed and stays, and the old file's permissions are kept (a
   warning when they cannot be). 0 on success; -1 for a null path or config,
   a non-empty element list (element records are not written yet), a path
   that names something other than a regular file (logged), or when the
   file cannot be created (perror "file open") or written (logged); an older
   file at path is then left as it was. */
DORNE_API int saveFile(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources,
                       CONFIG_STRUCT* config);

/* Image pixels into the texture registry for an image record whose
   pixelWidth and pixelHeight are set; the image gives up the texture it
   held first. loadTexture reads width x height x 4 bytes of RGBA at the
   file's position, loadTextureOld width x height x 3 bytes of RGB (alpha
   255 added), loadTextureFromData takes width x height x 4 bytes of RGBA
   from the caller (who keeps them). texture becomes the new texture id, or
   -1 when none is registered. 0 when registered, and for an image of width
   or height 0 (nothing read). -1 for a null argument (nothing changed).
   Refused, with a message at level 1 and texture -1: -2 for a negative
   size or one whose RGBA bytes exceed the int range (nothing read); -3 for
   a pixel block shorter than the size (the file may be read to its end);
   -4 when memory runs out. */
DORNE_API int loadTexture(FILE* file, IMAGE_STRUCT* image);
DORNE_API int loadTextureOld(FILE* file, IMAGE_STRUCT* image);
DORNE_API int loadTextureFromData(const unsigned char* rgba, IMAGE_STRUCT* image);

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
