#ifndef SARTO_LIBRARY_H
#define SARTO_LIBRARY_H

/* The font library as a whole: its one state record, its message level, its
   set-up and release, and the catalogue of font families, styles and sizes
   built from the built-in fonts and the font folders.

   Use: ftLibraryInit(); when it returns 1, ftLibraryAddPath() for each font
   folder and ftLibraryParseFonts(); then query the catalogue.

   Messages go to standard output in colour: "libft ERROR -> ..." (shown at
   level 1 and above), "libft WARNING -> ..." (2 and above), "libft INFO ->
   ..." (3). Integer results: 0 success, -1 null argument, -8 library not
   initialised or FreeType failed, -10 level out of range, -20 null family. */

#include "sartoData.h"
#include "sartoExport.h"

#include <stdint.h>

/* Style codes. */
#define FNT_STYLE_REGULAR 1
#define FNT_STYLE_BOLD 2
#define FNT_STYLE_ITALIC 4
#define FNT_STYLE_BOLD_ITALIC 8

#define FNT_NAME_SIZE 64       /* family names: at most 63 characters */
#define FNT_FILE_PATH_SIZE 260 /* font file paths: at most 259 characters */
#define FNT_SIZE_LIST 30       /* strike sizes a family lists */
#define FNT_BUILDIN_TABLE 200  /* entries of the built-in table */
#define FNT_BUILDIN_MAX 198    /* entries the built-in count reaches at most */

/* Payload of a family node (FNT_TYPE_FAMILY). Bitmap faces are catalogued as
   "<family> [fixed]", fixed-width outline faces as "<family> [monospace]",
   all others under their family name. */
typedef struct FNT_FAMILY
{
    char name[FNT_NAME_SIZE];            /* key */
    int scalable;                        /* 1 outline font, 0 bitmap strikes */
    int fixed;                           /* 1 fixed width */
    int styles;                          /* OR of the style codes present */
    int buildin;                         /* 1 when its first face was built in */
    int sizeCount;                       /* 0..FNT_SIZE_LIST */
    unsigned char sizes[FNT_SIZE_LIST];  /* strike sizes in catalogue order */
} FNT_FAMILY;

/* Payload of a style node (child of a family) or a size node (child of a
   style of a bitmap family): where the face comes from. */
typedef struct FNT_SOURCE
{
    int style;                         /* style code (style nodes) */
    int size;                          /* strike size (size nodes) */
    int buildin;                       /* 1 built-in data, 0 a file */
    char path[FNT_FILE_PATH_SIZE];     /* font file (file sources) */
    const unsigned char* data;         /* font data (built-in sources) */
    int dataSize;                      /* bytes of data */
} FNT_SOURCE;

/* One built-in font item. */
typedef struct FNT_BUILDIN
{
    const unsigned char* data;
    int32_t size; /* bytes */
} FNT_BUILDIN;

/* The library's state; zero until ftLibraryInit. The roots are list heads:
   only their children are nodes of the kind named. */
typedef struct FNT_STRUCT
{
    uint32_t initialised;
    FNT_DATA_STRUCT paths;             /* search folders, in the order added */
    FNT_DATA_STRUCT families;          /* the catalogue, sorted by name */
    FNT_DATA_STRUCT fonts;             /* created font objects */
    struct FT_LibraryRec_* freetype;   /* FreeType library handle */
    int32_t buildinCount;
    FNT_BUILDIN buildin[FNT_BUILDIN_TABLE];
} FNT_STRUCT;

/* One family as ftLibraryGetFonts lists it. */
typedef struct FNT_FONT_INFO
{
    char name[FNT_NAME_SIZE];
    int styles;
    int fixed;
    int scalable;
    int buildin;
} FNT_FONT_INFO;

/* The one state of the process. */
SARTO_DATA FNT_STRUCT FNT_LIBRARY_STRUCT;

/* The library's version: 100. */
SARTO_API int ftVersion(void);

/* Sets the message level 0..3 (0 prints nothing at all); 0, or -10 for any
   other value, which changes nothing. The level is 3 until set. */
SARTO_API int ftSetDebugLevel(int level);

/* The message level. */
SARTO_API int ftGetDebugLevel(void);

/* Starts FreeType and registers the built-in fonts: 1 when this call did
   it, 0 when the library was initialised before, -8 when FreeType cannot be
   started (the library then stays not initialised). */
SARTO_API int ftLibraryInit(void);

/* Appends a copy of the folder path to the search list; 0, -8 when not
   initialised, -1 for a null path, a path of more than 511 characters or
   short memory (nothing is added). */
SARTO_API int ftLibraryAddPath(const char* path);

/* Builds the catalogue from the built-in fonts, then from every file of each
   search folder whose name ends in ".ttf" or ".TTF", and sorts the families
   by name; 0, or -8 when not initialised. Files FreeType cannot open and
   folders that cannot be listed are skipped. */
SARTO_API int ftLibraryParseFonts(void);

/* 1 when the family of exactly that name is scalable, 0 when it is not or
   is unknown, -20 for a null family. */
SARTO_API int ftFamilyScalable(const char* family);

/* The OR of the family's style codes; 0 for an unknown family, -20 for a null
   family. */
SARTO_API int ftFamilyGetStyles(const char* family);

/* The strike sizes of a bitmap family's style in catalogue order, in a new
   array (release it with ftFree), and their number in count. A scalable
   family sets count to -1, an unknown family or style to 0; both give null,
   as do null arguments. */
SARTO_API int* ftFamilyGetSizes(const char* family, int style, int* count);

/* The families in catalogue order in a new array (release it with ftFree)
   and their number in count; null for a null count, when not initialised or
   when memory is short. */
SARTO_API FNT_FONT_INFO* ftLibraryGetFonts(int* count);

/* Releases the search list, the catalogue, every font object and FreeType;
   0, or -8 when not initialised. Font handles are invalid afterwards. */
SARTO_API int ftLibraryFree(void);

/* Releases memory that the library returned; 0, or -1 for null. */
SARTO_API int ftFree(void* memory);

#endif
