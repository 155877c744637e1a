// "Calculator" (type number 6): each variable is a formula over the view's
// variables, kept as a parser in the variable's moduleData. Declared here;
// the other entry points do nothing yet, and the expression engine replaces
// them. It is the only kind with StartViewAll.
#include "builtinSources.h"

namespace {

int vddParserVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("Calculator"), 6, 0);
    s->vddOption(s, 1, 3, 0, ddText("  Y ="));
    s->vddOption(s, 1, 0, 0, ddText("OUTPUT"));
    return 0;
}

} // namespace

void calculatorEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddParserVarInfo;
    s->fnStartViewAll = ddNothingStartAll;
}
