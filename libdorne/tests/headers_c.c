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

int dorneHeadersCompileAsC(void)
{
    vdView_Struct view = {0};
    return (int)sizeof view.config.texts;
}
