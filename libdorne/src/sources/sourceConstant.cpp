// "Constant Data" (type number 2): each variable holds the constant of its
// VALUE text, converted again in every cycle, so a value the view writes
// returns to the constant in the same cycle. No Set: no defaults.
#include "sources/builtinSources.h"
#include "data/dataValue.h"

namespace {

int vddConstVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("Constant Data"), 2, 0);
    s->vddOption(s, 1, 0, 0, ddText("VALUE"));
    return 0;
}

int vddConstVarGet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT*)
{
    if (v == nullptr || v->value == nullptr || v->para == nullptr || v->paraAlloc < 1 || v->para[0].text == nullptr)
        return 0;
    // Decimal; a longer text constant is cut to what the text storage holds.
    dorne::storeText(v->value, v->type, v->para[0].text, 10, size_t(v->para[0].capacity));
    return 0;
}

} // namespace

void constantDataEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s);
    s->fnInfo = vddConstVarInfo;
    s->fnGet = vddConstVarGet;
    s->fnSet = nullptr; // no defaults
}
