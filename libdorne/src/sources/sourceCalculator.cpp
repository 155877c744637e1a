// "Calculator" (type number 6): each variable is a formula over the view's
// variables, kept as a parser in the variable's moduleData and evaluated in
// every cycle; its result may also be copied into a variable of another
// source (OUTPUT), which that source then sends on. It is the only kind with
// StartViewAll, which fills the name table of all the view's variables.
#include "sources/builtinSources.h"
#include "data/dataValue.h"

#include "dorneExpression.h"
#include "dorneHash.h"
#include "dorneLog.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The source's private data from Open to Close.
struct NameTable
{
    HASH_STRUCT* names; // every variable of the view by name (borrowed records)
};

HASH_STRUCT* namesOf(const DD_DATA_TYPE_STRUCT* s)
{
    return s != nullptr && s->privateData != nullptr ? static_cast<NameTable*>(s->privateData)->names : nullptr;
}

// The text of a variable option, or null when the variable has none.
const char* optionText(const DD_VAR_STRUCT* v, int index)
{
    if (v->para == nullptr || v->paraAlloc <= index)
        return nullptr;
    return v->para[index].text;
}

// Stores a result by the variable's value type (a text as "%f"); nothing
// without storage or for an unknown type.
int setVar(DD_VAR_STRUCT* v, double value)
{
    if (v == nullptr || v->value == nullptr)
        return 0;
    if (v->type == DD_STRING)
        std::snprintf(static_cast<char*>(v->value), dorne::kTextStorage, "%f", value);
    else
        dorne::storeNumber(v->value, v->type, value);
    return 0;
}

// The read function of every parser: the named variable's current value.
// A name found once stays cached in the token; one not found (yet) is
// looked up again at the next evaluation.
double vddParserVarRead(void* data, T_Token* token, char* name)
{
    HASH_STRUCT* names = namesOf(static_cast<DD_DATA_TYPE_STRUCT*>(data));
    if (names == nullptr || token == nullptr)
        return 0.0;
    if (token->variable == nullptr)
        token->variable = mpiHashSearchAscii(names, name != nullptr ? name : token->name);
    const DD_VAR_STRUCT* v = static_cast<const DD_VAR_STRUCT*>(token->variable);
    if (v == nullptr || v->value == nullptr)
        return 0.0;
    if (v->type != DD_STRING)
        return dorne::readNumber(v->value, v->type);
    // Its leading number; a module may have filled all 256 bytes.
    char text[dorne::kTextStorage];
    dorne::copyText(text, static_cast<const char*>(v->value));
    return std::strtod(text, nullptr);
}

void releaseParser(DD_VAR_STRUCT* v)
{
    T_Parser* parser = static_cast<T_Parser*>(v->moduleData);
    if (parser == nullptr)
        return;
    cleanup(parser);
    std::free(parser);
    v->moduleData = nullptr;
}

void releaseTable(DD_DATA_TYPE_STRUCT* s)
{
    NameTable* table = static_cast<NameTable*>(s->privateData);
    if (table == nullptr)
        return;
    mpiHashRemove(table->names); // the variables stay with their sources
    std::free(table);
    s->privateData = nullptr;
}

int vddParserVarInfo(DD_DATA_TYPE_STRUCT* s)
{
    s->vddInit(s, ddText("Calculator"), 6, 0);
    s->vddOption(s, 1, 3, 0, ddText("  Y ="));
    s->vddOption(s, 1, 0, 0, ddText("OUTPUT"));
    return 0;
}

// At view start: an empty name table and one parsed formula per variable.
int vddParserVarOpen(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return -1;
    // Opened twice without a Close: the earlier table and parsers go first.
    releaseTable(s);
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        releaseParser(v);

    NameTable* table = static_cast<NameTable*>(std::calloc(1, sizeof(NameTable)));
    if (table == nullptr) {
        logMsg(1, "vddParserVarOpen: out of memory\n");
        return -1;
    }
    table->names = mpiHashCreate(50);
    if (table->names == nullptr) {
        // Without a table every name would read as 0 unannounced.
        std::free(table);
        logMsg(1, "vddParserVarOpen: out of memory\n");
        return -1;
    }
    s->privateData = table;
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
        T_Parser* parser = static_cast<T_Parser*>(std::calloc(1, sizeof(T_Parser)));
        if (parser == nullptr) {
            logMsg(1, "vddParserVarOpen: out of memory\n");
            continue; // this variable evaluates to 0
        }
        const char* formula = optionText(v, 0);
        parser->text = formula != nullptr ? formula : "";
        parse(parser); // clears the read function: install it afterwards
        setVarFunc(parser, s, vddParserVarRead);
        v->moduleData = parser;
    }
    return 0;
}

int vddParserVarClose(DD_DATA_TYPE_STRUCT* s)
{
    if (s == nullptr)
        return 0;
    releaseTable(s);
    for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next)
        releaseParser(v);
    return 0;
}

// After every source has opened: every variable of the view, this source's
// own included, by name. A name that several variables share resolves to
// the first of them, sources and variables in list order. When names do not
// fit the table the start fails and no formula runs: a missing name would
// read as 0 without a word.
int vddParserVarStartViewAll(DD_DATA_TYPE_STRUCT* head, DD_DATA_TYPE_STRUCT* s)
{
    HASH_STRUCT* names = namesOf(s);
    if (head == nullptr || names == nullptr)
        return 0;
    unsigned long missing = 0;
    unsigned long total = 0;
    for (DD_DATA_TYPE_STRUCT* source = head; source != nullptr; source = source->next)
        for (DD_VAR_STRUCT* v = source->variables; v != nullptr; v = v->next) {
            ++total;
            if (mpiHashSearchAscii(names, v->name) == nullptr && mpiHashInsertAscii(names, v->name, v) != 0)
                ++missing;
        }
    if (missing == 0)
        return 0;
    logMsg(1, "vddParserVarStartViewAll: %lu of %lu variable names do not fit the name table, calculator stopped\n",
           missing, total);
    releaseTable(s);
    return -1;
}

// Once per cycle and variable: evaluate, store, and copy to the OUTPUT
// variable, which its own source's Set then receives as written by the view.
int vddParserVarGet(DD_VAR_STRUCT* v, DD_DATA_TYPE_STRUCT* s)
{
    if (v == nullptr || s == nullptr || s->privateData == nullptr)
        return 0;
    const double value = evaluate(static_cast<T_Parser*>(v->moduleData));
    setVar(v, value);
    const char* output = optionText(v, 1);
    if (output == nullptr || output[0] == '\0')
        return 0;
    DD_VAR_STRUCT* target = static_cast<DD_VAR_STRUCT*>(mpiHashSearchAscii(namesOf(s), output));
    if (target == nullptr)
        return 0;
    target->write = 1;
    setVar(target, value);
    return 0;
}

} // namespace

void calculatorEntryPoints(DD_DATA_TYPE_STRUCT* s)
{
    ddProvideNothing(s); // Run, Set, StartView and the editor hooks do nothing
    s->fnInfo = vddParserVarInfo;
    s->fnOpen = vddParserVarOpen;
    s->fnClose = vddParserVarClose;
    s->fnGet = vddParserVarGet;
    s->fnStartViewAll = vddParserVarStartViewAll;
}
