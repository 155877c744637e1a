#ifndef DORNE_EXPORT_H
#define DORNE_EXPORT_H

/* Marks what libdorne exports: C linkage under the plain name and default
   visibility; everything unmarked stays inside the library.
     DORNE_API int vdExample(int value);     (a function)
     DORNE_DATA int lineCount;               (a data object)
   Use the macros only on declarations in the public headers (inc/): the
   export check compares the library's dynamic symbols with these lines. */

#ifdef __cplusplus
#define DORNE_API extern "C" __attribute__((visibility("default")))
#define DORNE_DATA extern "C" __attribute__((visibility("default")))
#else
#define DORNE_API __attribute__((visibility("default")))
#define DORNE_DATA extern __attribute__((visibility("default")))
#endif

#endif
