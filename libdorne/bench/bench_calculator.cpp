// The expression engine and the calculator source: one 20-token formula with
// 4 variables evaluated 10 million times (parsed once), and a calculator of
// 1,000 formula variables over 1,000 exchange cycles. Targets: under 100 ns
// per evaluation, under 0.2 ms per cycle.
#include "dorneDataSources.h"
#include "dorneExpression.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

// a * 2 + b / 3 - c * d + sin a - 4 * d + 1: 20 tokens, 4 variables.
const char kFormula[] = "a * 2 + b / 3 - c * d + sin a - 4 * d + 1";

struct Variables
{
    std::map<std::string, double> values{{"a", 1.5}, {"b", 2.0}, {"c", -3.0}, {"d", 0.25}};
    // Looked up once per token, then read through the cached pointer.
    static double read(void* data, T_Token* token, char* name)
    {
        if (token->variable == nullptr)
            token->variable = &static_cast<Variables*>(data)->values[name];
        return *static_cast<double*>(token->variable);
    }
};

void BM_EvaluateFormula(benchmark::State& state)
{
    Variables vars;
    T_Parser parser{};
    parser.text = kFormula;
    parse(&parser);
    setVarFunc(&parser, &vars, Variables::read);
    double& a = vars.values["a"];
    double sum = 0.0;
    for (auto _ : state) {
        sum += evaluate(&parser);
        a += 1e-9; // a new value every time, as in a cycle
    }
    benchmark::DoNotOptimize(sum);
    state.counters["tokens"] = parser.output->count;
    cleanup(&parser);
}
BENCHMARK(BM_EvaluateFormula)->Iterations(10000000);

// A view of an internal source with a, b, c, d and out0 .. out9, and a
// calculator of 1,000 variables: each one the formula above plus the
// previous calculator variable, every hundredth copied to an OUTPUT.
struct CalculatorView
{
    CalculatorView()
    {
        DD_DATA_TYPE_STRUCT* inputs = addSource(5, 0);
        for (const char* name : {"a", "b", "c", "d"})
            addVariable(inputs, name, "");
        for (int i = 0; i < 10; ++i)
            addVariable(inputs, ("out" + std::to_string(i)).c_str(), "");
        DD_DATA_TYPE_STRUCT* calc = addSource(6, 2);
        for (int i = 0; i < 1000; ++i) {
            const std::string formula = std::string(kFormula) + (i > 0 ? " + f" + std::to_string(i - 1) : "");
            DD_VAR_STRUCT* v = addVariable(calc, ("f" + std::to_string(i)).c_str(), formula.c_str());
            if (i % 100 == 0)
                std::snprintf(v->para[1].text, size_t(v->para[1].capacity), "out%d", i / 100);
        }
        DD_DATA_TYPE_STRUCT* registry = nullptr;
        vdiLoadStaticDataSources(&registry);
        updateDataTypes(registry, &sources);
        while (registry != nullptr)
            delDataType(&registry, registry, 1);
        openDataSources(sources);
        callStartView(sources);
    }
    ~CalculatorView()
    {
        closeDataSources(sources);
        while (sources != nullptr)
            delDataType(&sources, sources, 0);
    }
    DD_DATA_TYPE_STRUCT* addSource(int type, int variableOptions)
    {
        DD_DATA_TYPE_STRUCT* s = createDataType(10);
        s->type = type;
        s->varOptionCount = variableOptions;
        appendDataType(&sources, s);
        return s;
    }
    DD_VAR_STRUCT* addVariable(DD_DATA_TYPE_STRUCT* s, const char* name, const char* formula)
    {
        DD_VAR_STRUCT* v = createVariable(10);
        v->type = DD_DOUBLE;
        v->paraCount = s->varOptionCount;
        std::snprintf(v->name, sizeof v->name, "%s", name);
        // A formula longer than the 64 bytes of a new parameter text.
        const size_t n = std::strlen(formula) + 1;
        std::free(v->para[0].text);
        v->para[0].text = static_cast<char*>(std::calloc(1, n));
        v->para[0].capacity = int(n);
        std::memcpy(v->para[0].text, formula, n);
        v->value = std::calloc(1, 8);
        appendVariable(&s->variables, v);
        return v;
    }
    DD_DATA_TYPE_STRUCT* sources = nullptr;
};

void BM_CalculatorCycle(benchmark::State& state)
{
    CalculatorView view;
    for (auto _ : state)
        fillDP(view.sources);
    state.counters["formulas"] = 1000;
}
BENCHMARK(BM_CalculatorCycle)->Iterations(1000)->Unit(benchmark::kMillisecond);

} // namespace
