/* The public headers are C headers: this file only has to compile as C. */
#include "dorneActions.h"
#include "dorneDataSources.h"
#include "dorneElements.h"
#include "dorneExport.h"
#include "dorneExpression.h"
#include "dorneFiles.h"
#include "dorneGl.h"
#include "dorneHash.h"
#include "dorneLog.h"
#include "dorneObjects.h"
#include "dornePlatform.h"
#include "dorneTextures.h"
#include "dorneVariables.h"
#include "dorneView.h"
/* The font library's platform header after the view engine's (the other
   order is headers_platform_c.c): the listing records are defined once. */
#include "sartoPlatform.h"

int dorneHeadersCompileAsC(void)
{
    vdView_Struct view = {0};
    return (int)sizeof view.config.texts;
}

/* A listing of either library goes to the other's functions as it is. */
int dorneListingCompilesWithBothLibraries(void)
{
    API_FILE file;
    API_DIR* dir = apiOpenDir(".");
    const int read = ftApiReadDir(dir, &file);
    return read + ftApiCloseDir(dir);
}
