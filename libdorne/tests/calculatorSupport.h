// The calculator tests' view: formulas in a calculator source over internal
// variables, merged with the registry and started as a view starts them.
#ifndef DORNE_CALCULATOR_SUPPORT_H
#define DORNE_CALCULATOR_SUPPORT_H

#include "dataSourceSupport.h"

namespace support {

class Calculator : public testing::Test
{
protected:
    void TearDown() override
    {
        closeDataSources(view);
        freeSources(&view);
    }
    DD_VAR_STRUCT* formula(const char* name, int type, const char* text, const char* output = "")
    {
        if (calc == nullptr)
            calc = fileSource(&view, 6, 0, 2);
        DD_VAR_STRUCT* v = fileVariable(calc, name, type);
        setParaText(v->para[0], text);
        setParaText(v->para[1], output);
        return v;
    }
    DD_VAR_STRUCT* internal(const char* name, int type, const char* defaultText = "")
    {
        if (values == nullptr)
            values = fileSource(&view, 5, 0, 0);
        return fileVariable(values, name, type, defaultText);
    }
    void start()
    {
        mergeWithRegistry(&view);
        startSources(view);
    }
    DD_DATA_TYPE_STRUCT* view = nullptr;
    DD_DATA_TYPE_STRUCT* calc = nullptr;
    DD_DATA_TYPE_STRUCT* values = nullptr;
};

} // namespace support

#endif
