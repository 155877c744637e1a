/* The built-in font items in the order they are registered. Each item is a
   header of its name that the embedding tool writes at build time, holding
   the array <name> and its byte count <name>Size. The build reads the names
   from the two lists below.

   Outline items, X(item, family the item is catalogued under): the
   sans-serif family's regular, bold, bold italic and italic, then the same
   of the fixed-width family. Their fonts are metric-compatible with the
   families named, under which desktop font configurations alias them too. */
#define SARTO_BUILDIN_OUTLINES(X) \
    X(arial, "Arial")             \
    X(arialbd, "Arial")           \
    X(arialbi, "Arial")           \
    X(ariali, "Arial")            \
    X(cour, "Courier New")        \
    X(courbd, "Courier New")      \
    X(courbi, "Courier New")      \
    X(couri, "Courier New")

/* Bitmap strikes (gzip-compressed PCF): family, style (B bold, BO bold
   oblique, O oblique, R regular) and nominal pixel size. */
#define SARTO_BUILDIN_STRIKES(X)                                                   \
    X(helvB08) X(helvB10) X(helvB12) X(helvB14) X(helvB18) X(helvB24)             \
    X(helvBO08) X(helvBO10) X(helvBO12) X(helvBO14) X(helvBO18) X(helvBO24)       \
    X(helvO08) X(helvO10) X(helvO12) X(helvO14) X(helvO18) X(helvO24)             \
    X(helvR08) X(helvR10) X(helvR12) X(helvR14) X(helvR18) X(helvR24)             \
    X(courB08) X(courB10) X(courB12) X(courB14) X(courB18) X(courB24)             \
    X(courBO08) X(courBO10) X(courBO12) X(courBO14) X(courBO18) X(courBO24)       \
    X(courO08) X(courO10) X(courO12) X(courO14) X(courO18) X(courO24)             \
    X(courR08) X(courR10) X(courR12) X(courR14) X(courR18) X(courR24)
