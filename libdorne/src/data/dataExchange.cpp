// The exchange cycle between a view's variables and their sources, the
// defaults written at view start, and the symbol-mode copies.
#include "data/dataValue.h"

#include "dorneDataSources.h"

#include <cstdlib>
#include <cstring>

namespace {

// Whether the view changed the value since the last cycle: the first 8
// bytes, or the whole text of a text variable.
bool valueChanged(const DD_VAR_STRUCT* v)
{
    if (v->type == DD_STRING)
        return std::strncmp(static_cast<const char*>(v->value), v->previousText, dorne::kTextStorage) != 0;
    return std::memcmp(v->value, v->previous, sizeof v->previous) != 0;
}

void keepPrevious(DD_VAR_STRUCT* v)
{
    std::memcpy(v->previous, v->value, sizeof v->previous);
    if (v->type == DD_STRING)
        dorne::copyText(v->previousText, static_cast<const char*>(v->value));
}

// A value between a variable's storage and a module's global: texts up to
// 255 characters, numbers in their full width (8 bytes for the 64-bit types).
void copyValue(void* target, const void* source, int type)
{
    if (type == DD_STRING)
        dorne::copyText(static_cast<char*>(target), static_cast<const char*>(source));
    else if (const int width = dorne::valueWidth(type))
        std::memcpy(target, source, size_t(width));
}

} // namespace

int fillDP(DD_DATA_TYPE_STRUCT* head)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next) { // sources in list order
        if (s->fnRun != nullptr)
            s->fnRun(s);
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) { // variables in list order
            if (v->value == nullptr)
                continue; // not started
            if (s->symbolMode) {
                // A value the view wrote goes out in the next cycle and is not
                // read back in that cycle.
                if (v->write && v->setPending) {
                    ddDataSet(v);
                    v->setPending = 0;
                } else {
                    ddDataGet(v);
                }
            } else if (v->write) {
                if (s->fnSet != nullptr) {
                    v->changed = valueChanged(v) ? 1 : 0;
                    s->fnSet(v, s);
                }
                if (s->fnGet != nullptr)
                    s->fnGet(v, s);
                keepPrevious(v);
            } else if (s->fnGet != nullptr) {
                s->fnGet(v, s);
            }
        }
        if (s->fnPostRun != nullptr)
            s->fnPostRun(s);
    }
    return 0;
}

int writeDefault(DD_DATA_TYPE_STRUCT* head)
{
    for (DD_DATA_TYPE_STRUCT* s = head; s != nullptr; s = s->next) {
        if (!s->symbolMode) {
            for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
                if (v->value == nullptr)
                    continue;
                if (s->fnSet != nullptr && v->defaultText[0] != '\0') {
                    v->changed = 1;
                    setDefaultValue(v);
                    s->fnSet(v, s);
                }
                keepPrevious(v);
            }
        }
        if (s->fnPostRun != nullptr)
            s->fnPostRun(s);
    }
    return 0;
}

int setDefaultValue(DD_VAR_STRUCT* v)
{
    if (v == nullptr || v->value == nullptr)
        return -1;
    // The default may fill all 64 bytes without a terminating zero.
    char text[sizeof v->defaultText + 1];
    std::memcpy(text, v->defaultText, sizeof v->defaultText);
    text[sizeof v->defaultText] = '\0';
    // Base from the text: 0x hexadecimal, a leading 0 octal.
    dorne::storeText(v->value, v->type, text, 0, sizeof text);
    return 0;
}

int ddDataGet(DD_VAR_STRUCT* v)
{
    if (v == nullptr || v->value == nullptr || v->symbol == nullptr)
        return -1;
    copyValue(v->value, v->symbol, v->type);
    return 0;
}

int ddDataSet(DD_VAR_STRUCT* v)
{
    if (v == nullptr || v->value == nullptr || v->symbol == nullptr)
        return -1;
    copyValue(v->symbol, v->value, v->type);
    return 0;
}
