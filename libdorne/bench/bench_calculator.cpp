// The expression engine beside muParser, and the calculator source. Both
// engines first evaluate a set of formulas with variables, conditionals and
// functions over the same variables and must agree; then one 20-token
// formula with 4 variables (parsed once) is evaluated 10 million times on
// each, and the set in turn, the muParser lines showing both figures and
// their ratio (target: within 1.2 times muParser). Last, a calculator of
// 1,000 formula variables over 1,000 exchange cycles (target: under 0.2 ms
// per cycle).
#include "dorneDataSources.h"
#include "dorneExpression.h"

#include <benchmark/benchmark.h>
#include <muParser.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// a * 2 + b / 3 - c * d + sin(a) - 4 * d + 1: 20 tokens, 4 variables.
const char kFormula[] = "a * 2 + b / 3 - c * d + sin(a) - 4 * d + 1";

// Written so that both engines read them alike: "^" and "log" mean other
// things there, and equality and ordering share one level there.
const std::vector<std::string> kFormulas = {
    kFormula,
    "a > b ? c * 2 : d - 1",
    "a < b ? (c >= d ? tanh(a) : log(b)) : -d",
    "(a < b && c < d) || a == 1.5",
    "sqrt(a * a + b * b) + atan2(b, a)",
    "min(a, b) + max(c, d) * exp(d)",
    "-a * b + cos(c) / (1 + d * d)",
};

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

struct Dorne
{
    Dorne(Variables& vars, const std::vector<std::string>& formulas) : texts(formulas), parsers(formulas.size())
    {
        for (size_t i = 0; i < texts.size(); ++i) {
            parsers[i].text = texts[i].c_str();
            parse(&parsers[i]);
            setVarFunc(&parsers[i], &vars, Variables::read);
        }
    }
    ~Dorne()
    {
        for (T_Parser& p : parsers)
            cleanup(&p);
    }
    double value(size_t i) { return evaluate(&parsers[i]); }
    std::vector<std::string> texts;
    std::vector<T_Parser> parsers;
};

struct MuParser
{
    MuParser(Variables& vars, const std::vector<std::string>& formulas)
    {
        for (const std::string& text : formulas) {
            parsers.push_back(std::make_unique<mu::Parser>());
            for (auto& [name, value] : vars.values)
                parsers.back()->DefineVar(name, &value);
            parsers.back()->SetExpr(text);
        }
    }
    double value(size_t i) { return parsers[i]->Eval(); }
    std::vector<std::unique_ptr<mu::Parser>> parsers;
};

// Both engines over every formula at a few settings of the variables; the
// first difference, or an empty text.
std::string firstDifference()
{
    try {
        Variables vars;
        Dorne dorne(vars, kFormulas);
        MuParser mu(vars, kFormulas);
        for (double step : {0.0, 0.7, 2.9, -4.2}) {
            vars.values["a"] += step;
            vars.values["d"] -= step / 3;
            for (size_t i = 0; i < kFormulas.size(); ++i) {
                const double ours = dorne.value(i);
                const double theirs = mu.value(i);
                if (!(std::fabs(ours - theirs) <= 1e-12 * std::fmax(1.0, std::fabs(theirs))))
                    return kFormulas[i] + ": " + std::to_string(ours) + " against " + std::to_string(theirs);
            }
        }
    } catch (const mu::Parser::exception_type& e) {
        return "muParser: " + e.GetMsg();
    }
    return std::string();
}

// Nanoseconds per evaluation of the last run of each engine, by formula set.
double dorneNs[2];

// Evaluates the formulas in turn, a new value of a every time as in a cycle;
// stores the time per evaluation.
template <typename Engine>
void evaluateFormulas(benchmark::State& state, const std::vector<std::string>& formulas, double& ns)
{
    const std::string difference = firstDifference();
    if (!difference.empty()) {
        state.SkipWithError(("the engines disagree: " + difference).c_str());
        return;
    }
    Variables vars;
    Engine engine(vars, formulas);
    double& a = vars.values["a"];
    double sum = 0.0;
    size_t i = 0;
    const auto begin = std::chrono::steady_clock::now();
    for (auto _ : state) {
        sum += engine.value(i);
        if (++i == formulas.size())
            i = 0;
        a += 1e-9;
    }
    ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - begin).count() /
         double(state.iterations());
    benchmark::DoNotOptimize(sum);
}

void BM_Formula(benchmark::State& state)
{
    evaluateFormulas<Dorne>(state, {kFormula}, dorneNs[0]);
}
BENCHMARK(BM_Formula)->Iterations(10000000);

// The reference beside our figure.
void sideBySide(benchmark::State& state, double ours, double theirs)
{
    if (ours > 0.0 && theirs > 0.0) {
        state.counters["dorne_ns"] = ours;
        state.counters["muParser_ns"] = theirs;
        state.counters["ratio"] = ours / theirs;
    }
}

void BM_FormulaMuParser(benchmark::State& state)
{
    double ns = 0.0;
    evaluateFormulas<MuParser>(state, {kFormula}, ns);
    sideBySide(state, dorneNs[0], ns);
}
BENCHMARK(BM_FormulaMuParser)->Iterations(10000000);

void BM_FormulaSet(benchmark::State& state)
{
    evaluateFormulas<Dorne>(state, kFormulas, dorneNs[1]);
}
BENCHMARK(BM_FormulaSet)->Iterations(10000000);

void BM_FormulaSetMuParser(benchmark::State& state)
{
    double ns = 0.0;
    evaluateFormulas<MuParser>(state, kFormulas, ns);
    sideBySide(state, dorneNs[1], ns);
}
BENCHMARK(BM_FormulaSetMuParser)->Iterations(10000000);

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
