#ifndef DORNE_FILES_H
#define DORNE_FILES_H

/* View files: the binary view file ("VIEW FILE", revision 3.03 written,
   1.00 to 3.03 read) and the fixed-width values every reader and writer goes
   through, and the XML view file. Numbers of the binary file are 4 bytes,
   most significant byte first, on every host; a text field has a fixed
   length n and holds at most n - 1 characters and a zero.
   Threads: every view-file and symbol-file reader and writer here holds
   the library-wide lock while it makes, reads or frees fonts, textures and
   element names (the binary ones and the readers while they run, what a
   refused read frees included), so any of them may run beside each other
   and beside the loads, draws and frees of views on other threads. None
   holds a view's mutex, and no other thread may change the lists or the
   block they are given meanwhile: to save a running view, hold view->mutex
   around the save of view->elements, view->dataSources and view->config
   (dorneView.h shows how); its data thread and its draws then wait. */

#include "dorneExport.h"
#include "dorneView.h"

#include <stdio.h>

/* Reads the view file at path: appends its top-level elements to *elements
   and its data sources (with their stored parameters and variables; not yet
   merged with the registered kinds) to *sources, fills the view block of
   config (position, size, page colour; its texts stay), then resolves the
   stored line styles and fill patterns of every element of *elements and
   runs their update hooks. Elements keep file order, a group's children
   and every element's actions and threshold entries too. 0 when the whole
   file was read. -1, logged at level 1, for a null argument, a file that
   cannot be opened or is not a regular file ("cannot open file"), no magic
   ("wrong file format"), a revision without a reader ("loadFile: rev <n>
   not supported": below 1.00, 1.17 to 1.99, 2.05 to 2.99, above 3.03), a
   record tag or a group's child kind outside 0 to 14 (and 20, -1 at top
   level), groups nested deeper than 255 levels, a name
   or id length outside 1 to 64 or 1 to 256, a file that is cut or holds a
   count or length that does not fit it, and memory running out (for grab
   handles too); the lists and config are then as they were (everything
   read is freed, fonts and textures too; the elements the list held keep
   their handle records, at the same addresses). When the file was read, the
   elements the list held are resolved and updated again after it is
   appended; one whose update runs out of memory keeps its handles, logged
   at level 2. The caller owns what is appended (elementDeleteAll,
   delDataType). Holds the library lock (as saveFile and the per-revision
   pieces below do) while it runs. */
DORNE_API int loadFile(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                       CONFIG_STRUCT* config);

/* Reads only the header and the view block into config. 0 on success;
   minus the system error number when the file cannot be opened (printed
   with perror "file open"); -1, logged, for a null argument, no magic, a
   revision without a reader or a cut view block (config unchanged). */
DORNE_API int loadConfigFile(const char* path, CONFIG_STRUCT* config);

/* Writes the view as revision 3.03: header, the view block of config, every
   top-level element with its children and actions, then the data sources (the source and variable parameter counts they declare;
   a variable parameter with its buffer's whole capacity, so a text grows by
   12 bytes per load and save). The file is written beside path under a name
   of its own, synced and renamed over path only when complete; a link at
   path is followed and stays, and the old file's permissions are kept (a
   warning when they cannot be). Fixed texts are written as their text and
   zero bytes; a name (id) longer than 63 (255) characters is written cut,
   the element is not changed; a CIRCLE's or ARC's radii go into its stored
   transform (the file has none). 0 on success; -1 for a null path or
   config, a path that names something other than a regular file (logged),
   an element the readers would refuse (a kind outside 0 to 14 or without
   its record, groups nested deeper than 255 levels; logged), or when the
   file cannot be created (perror "file open") or written (logged); an older
   file at path is then left as it was. */
DORNE_API int saveFile(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources,
                       CONFIG_STRUCT* config);

/* ---- The pieces of revisions 3.01 to 3.03. Each reader reads from the
   stream's position, bounded by the bytes the regular file behind the
   stream has left (any other stream is refused), and appends to the
   caller's lists (or fills config) only what it read whole: 0, or -1 with
   a level-1 message ("<name>: stream: <reason>"), nothing changed and the
   stream somewhere after its old position. Style numbers stay unresolved
   (loadFile resolves them). Each writer writes at the stream's position:
   0, or -1 for a null stream (or element) and when a write fails. ---- */

/* The body after the header text and the two revision ints: view block,
   then tagged records to the end of the file, as loadFile reads them. The
   version is the revision the caller read; each reader serves its own. */
DORNE_API int loadFile_301(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_302(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_303(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);

/* The view block: position, size, page colour and four reserved ints. */
DORNE_API int loadConfigFile_301(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_302(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_303(FILE* file, CONFIG_STRUCT* config);

/* One data-source section after its tag 20. */
DORNE_API int dataLoad_301(FILE* file, DD_DATA_TYPE_STRUCT** sources);
DORNE_API int dataLoad_302(FILE* file, DD_DATA_TYPE_STRUCT** sources);
DORNE_API int dataLoad_303(FILE* file, DD_DATA_TYPE_STRUCT** sources);

/* One action list: its count and the actions with their five threshold
   lists (3.01 and 3.02 share the older layout). */
DORNE_API int actionLoad_301(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_302(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_303(FILE* file, ACTION_STRUCT** actions);

/* One element record after its kind int (given as kind, 0 to 14), with
   its children and actions. */
DORNE_API int elementLoad_301(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_302(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_303(int kind, FILE* file, ELEMENT_STRUCT** elements);

/* ---- The pieces of the revisions before 3.01, read only and converted
   into today's records as they are read; bounded and all-or-nothing as
   those of 3.01 to 3.03. One reader serves a group of revisions that share
   a layout, named by its first revision: 1.00, 1.01, 1.02 (to 1.06), 1.07
   (to 1.10), 1.11 (1.12), 1.13 (to 1.16 and 2.00), 2.01, 2.02, 2.03, 2.04
   (and 3.00). The version a body or data-source reader takes is the
   file's major x 100 + minor; the 1.02 and 1.07 sources add 3 to the
   frequency choice of a test-signal variable of a file before 1.08. ---- */

/* The body after the two revision ints: the view block (seven floats; 1.07
   adds five 128-byte texts into config's texts), then tagged records. */
DORNE_API int loadFile_100(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config);
DORNE_API int loadFile_101(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config);
DORNE_API int loadFile_102(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_107(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_111(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_113(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_201(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_202(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_203(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);
DORNE_API int loadFile_204(FILE* file, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                           CONFIG_STRUCT* config, int version);

/* The view block alone (1.00 and 1.01 have that of 1.02). */
DORNE_API int loadConfigFile_102(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_107(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_111(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_113(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_201(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_202(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_203(FILE* file, CONFIG_STRUCT* config);
DORNE_API int loadConfigFile_204(FILE* file, CONFIG_STRUCT* config);

/* One data-source section after its tag 20: the fixed records of 1.00 to
   1.10 turned into sources of today's type numbers (a text cut to the 63
   characters of a parameter, an unknown test signal taken as choice 0,
   each with a level-2 message), from 1.11 on the 3.01 section without the
   variables' default texts. */
DORNE_API int dataLoad_100(FILE* file, DD_DATA_TYPE_STRUCT** sources);
DORNE_API int dataLoad_101(FILE* file, DD_DATA_TYPE_STRUCT** sources);
DORNE_API int dataLoad_102(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_107(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_111(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_113(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_201(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_202(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_203(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);
DORNE_API int dataLoad_204(FILE* file, DD_DATA_TYPE_STRUCT** sources, int version);

/* One action list. A 1.00 action's colour and value become an entry in
   each of its colour, line width, line style and visibility lists (the
   value clamped to the int range and truncated, NaN as 0) and its graph
   scaling the identity; 2.03 and 2.04 give the non-zero blink entries the
   action's blink rate. */
DORNE_API int actionLoad_100(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_101(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_102(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_107(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_111(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_113(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_201(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_202(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_203(FILE* file, ACTION_STRUCT** actions);
DORNE_API int actionLoad_204(FILE* file, ACTION_STRUCT** actions);

/* One element record after its kind int (0 to 14) with its children and
   actions. Before 2.02 kind 9 makes no element (its actions are read and
   dropped); 1.00 stores no name, 1.01 to 2.01 a 64-byte name (the id is
   the generated one). Old circles, graphs (label font "Courier [fixed]"),
   texts (kind 10 a vector text) and RGB images are converted; the 1.02
   reader prints "text x = <x> y = <y>" for each kind 10 record. */
DORNE_API int elementLoad_100(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_101(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_102(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_107(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_111(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_113(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_201(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_202(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_203(int kind, FILE* file, ELEMENT_STRUCT** elements);
DORNE_API int elementLoad_204(int kind, FILE* file, ELEMENT_STRUCT** elements);

/* saveFile without the release check. */
DORNE_API int saveFile_303(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources,
                           CONFIG_STRUCT* config);

/* The data-source section (without its tag), an action list, and one
   element record with its kind, children and actions, in 3.03. */
DORNE_API int dataSave_303(DD_DATA_TYPE_STRUCT* sources, FILE* file);
DORNE_API int actionSave_303(ACTION_STRUCT* actions, FILE* file);
DORNE_API int elementSave_303(ELEMENT_STRUCT* element, FILE* file);

/* The XML view file: root "Nalvo2D" (version "3.3" for release 303) with a
   header (date, the path as given, x, y, width, height and page colour of
   config), an empty editor, the data sources, the definitions and the
   geometry with one record per element, positions relative to the groups
   around it. SLIDER elements, kind 9 and kinds above 14 have no record and
   are left out (a level-2 message each). Names and texts are any bytes:
   valid UTF-8 is written as it is, anything else as Latin-1 in UTF-8 behind
   a U+FEFF, and loadFileXml reads back the same bytes. saveFileXml writes
   it through a file of its own beside path that replaces path only when
   complete (a link at path is followed, the old permissions are kept). 0
   on success; -1, logged at level 1, for a null path or config, a path
   that names something other than a regular file, groups nested deeper
   than 255 levels, a failed compression or a failed write; an older file
   at path is then left as it was. */
DORNE_API int saveFileXml(const char* path, ELEMENT_STRUCT* elements, DD_DATA_TYPE_STRUCT* sources,
                          CONFIG_STRUCT* config);

/* Reads an XML view file: appends its data sources (of every "data"
   section, in file order) to *sources and sets x, y, width, height and the
   page colour of config from every "header" and the elements of every
   "geometry" (resolved against the definitions read before it) to
   *elements; sections come in any order and may repeat; the root's name
   and version are not checked. 0 when the
   whole file was read. -1, logged at level 1, for a null argument, a path
   that is no regular file, a file over 256 MB, elements nesting deeper
   than 261 levels, groups nested deeper than 255, a file that does not
   parse or has no root element, a parameter count above 1024, and an
   element, action, threshold entry, vertex, grab handle or texture that
   cannot be made (memory running out);
   the lists and config are then as they were. A bitmap's pixels are
   inflated only when an element shows it; a text record without a display
   size (an older writer's) gets 30. The caller owns what is appended. */
DORNE_API int loadFileXml(const char* path, ELEMENT_STRUCT** elements, DD_DATA_TYPE_STRUCT** sources,
                          CONFIG_STRUCT* config);

/* Imports a symbol file (text lines with German keywords, from an older
   drawing tool): every "SYMBOL-NR. <n>" starts a GROUP named "SYMBOL <n>"
   whose children are the lines, rectangles, texts, circles and closed
   polygons of the primitive lines that follow their keyword lines. Lines
   are read in pieces of at most 1023 characters and trimmed by rmBlanks;
   lines that match nothing expected are ignored, a number outside the int
   range makes its line not match, a text word is cut at 255 characters.
   Texts get their "Arial" font (moved by half their size, 0 x 0 without a
   font). The groups are appended to the end of *list, in file order, only
   when the whole file was read. 0 then; -1 for a null path or list, a file
   that cannot be opened or is not a regular file (level 1 "cannot open
   file <path>"), a read error, or memory running out: *list is then as it
   was and everything made is freed. The last two arguments are accepted
   and not used. Holds the library lock while it runs. */
DORNE_API int loadSymbolFile(const char* path, ELEMENT_STRUCT** list, void* unused1, void* unused2);

/* Trims the line in place: leading blanks and tabs, trailing blanks, tabs,
   carriage returns and line feeds; an all-blank line becomes empty. 0; -1
   for a null line. */
DORNE_API int rmBlanks(char* line);

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
