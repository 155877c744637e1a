// Views exchange with their sources on their own data threads while other
// views load and start: the registry, the services' per-thread arrays, the
// test-signal generators, the calculators' formulas and the log are shared
// by nothing but the log's lock. Runs under ThreadSanitizer.
#include "dorneDataSources.h"
#include "dorneLog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

DD_VAR_STRUCT* addVariable(DD_DATA_TYPE_STRUCT* s, const char* name, int type, const char* defaultText)
{
    DD_VAR_STRUCT* v = createVariable(10);
    v->type = type;
    std::snprintf(v->name, sizeof v->name, "%s", name);
    std::snprintf(v->defaultText, sizeof v->defaultText, "%s", defaultText);
    appendVariable(&s->variables, v);
    return v;
}

// A view's sources as a load builds them: read, merged with a fresh registry.
DD_DATA_TYPE_STRUCT* loadSources()
{
    DD_DATA_TYPE_STRUCT* view = nullptr;
    for (int type : {1, 2, 5, 6}) {
        DD_DATA_TYPE_STRUCT* s = createDataType(10);
        s->type = type;
        appendDataType(&view, s);
    }
    DD_VAR_STRUCT* sine = addVariable(view, "sine", DD_FLOAT, "");
    sine->para[1].value = 6;
    std::snprintf(sine->para[3].text, 64, "1.0");
    addVariable(view, "date", DD_STRING, "")->para[0].value = 10;
    std::snprintf(addVariable(view->next, "constant", DD_INT, "")->para[0].text, 64, "42");
    addVariable(view->next->next, "page", DD_LONG, "0x100000003")->write = 1;
    std::snprintf(addVariable(view->next->next->next, "sum", DD_DOUBLE, "")->para[0].text, 64, "sum + constant");

    DD_DATA_TYPE_STRUCT* registry = nullptr;
    vdiLoadStaticDataSources(&registry);
    vdiLoadDataSources(&registry);
    updateDataTypes(registry, &view);
    while (registry != nullptr)
        delDataType(&registry, registry, 1);
    return view;
}

void startSources(DD_DATA_TYPE_STRUCT* view)
{
    for (DD_DATA_TYPE_STRUCT* s = view; s != nullptr; s = s->next)
        for (DD_VAR_STRUCT* v = s->variables; v != nullptr; v = v->next) {
            std::free(v->value);
            v->value = std::calloc(1, v->type == DD_STRING ? 256 : 8);
        }
    openDataSources(view);
    callStartView(view);
    writeDefault(view);
}

void freeSources(DD_DATA_TYPE_STRUCT* view)
{
    closeDataSources(view);
    while (view != nullptr)
        delDataType(&view, view, 0);
}

TEST(DataSourceThreads, ViewsExchangeOnTheirOwnThreads)
{
    setLogLevel(3);
    const int kViews = 3;
    const int kCycles = 300;
    std::vector<int32_t> constants(kViews, 0);
    std::vector<int64_t> pages(kViews, 0);
    std::vector<double> sums(kViews, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < kViews; ++i) {
        threads.emplace_back([&, i] {
            DD_DATA_TYPE_STRUCT* view = loadSources();
            startSources(view);
            // The data thread of a started view: the start happened before it.
            std::thread data([&] {
                for (int c = 0; c < kCycles; ++c) {
                    fillDP(view);
                    char** names = vddGetAllVariables(view);
                    ASSERT_STREQ(names[0], "sine");
                    DD_VAR_STRUCT** records = vddGetAllVariablesS(view->next);
                    ASSERT_EQ(records[0], view->next->variables);
                    logMsgData("view %d cycle %d\n", i, c);
                }
            });
            data.join();
            std::memcpy(&constants[size_t(i)], view->next->variables->value, 4);
            std::memcpy(&pages[size_t(i)], view->next->next->variables->value, 8);
            std::memcpy(&sums[size_t(i)], view->next->next->next->variables->value, 8);
            freeSources(view);
        });
    }
    for (std::thread& t : threads)
        t.join();
    for (int i = 0; i < kViews; ++i) {
        EXPECT_EQ(constants[size_t(i)], 42);
        EXPECT_EQ(pages[size_t(i)], 0x100000003);
        EXPECT_EQ(sums[size_t(i)], 42.0 * kCycles) << "the calculator after the constant, every cycle";
    }
    char buffer[16384];
    getLogMsg(buffer, sizeof buffer);
    setLogLevel(1);
}

} // namespace
