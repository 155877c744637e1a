#ifndef SARTO_EXPORT_H
#define SARTO_EXPORT_H

/* Marks what libsarto exports: C linkage under the plain name and default
   visibility; everything unmarked stays inside the library.
     SARTO_API int ftExample(int level);      (a function)
     SARTO_DATA FNT_STRUCT SOME_STRUCT;        (a data object)
   Use the macros only on declarations in the public headers (inc/): the
   export check compares the library's dynamic symbols with these lines. */

#ifdef __cplusplus
#define SARTO_API extern "C" __attribute__((visibility("default")))
#define SARTO_DATA extern "C" __attribute__((visibility("default")))
#else
#define SARTO_API __attribute__((visibility("default")))
#define SARTO_DATA extern __attribute__((visibility("default")))
#endif

#endif
