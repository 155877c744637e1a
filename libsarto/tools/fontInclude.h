// Turns font files into C headers that compile the font data into the
// library (see ../src/buildinItems.h).
#ifndef SARTO_FONT_INCLUDE_H
#define SARTO_FONT_INCLUDE_H

// Writes the bytes of source as the array <name> and its size <name>Size
// into the header target (through a temporary file that replaces it only
// when complete). 0, or -1 with a line on standard error.
int ftiFileToInclude(const char* source, const char* target, const char* name);

// Converts every built-in item, in registration order, from fontsDir
// (<item>.ttf, <strike>-ISO8859-1.pcf.gz) into includeDir/<item>.h. 0, or -1
// when any item failed.
int ftiConvert(const char* fontsDir, const char* includeDir);

#endif
