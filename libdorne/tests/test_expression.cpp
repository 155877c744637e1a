// The expression engine: values of formulas (with the malformed ones and the
// precedence levels), the postfix form, variables through the read
// function, token texts and the token stack.
#include "dorneExpression.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// A parsed formula, cleaned up on destruction.
struct Formula
{
    explicit Formula(const std::string& t) : text(t)
    {
        parser.text = text.c_str();
        parse(&parser);
    }
    ~Formula() { cleanup(&parser); }
    double value() { return evaluate(&parser); }
    // The postfix form, bottom to top, as getToken writes it.
    std::vector<std::string> postfix() const
    {
        std::vector<std::string> tokens;
        for (int i = 0; i < parser.output->count; ++i)
            tokens.push_back(getToken(&parser.output->items[i]));
        return tokens;
    }
    std::string text;
    T_Parser parser{};
};

double valueOf(const std::string& text)
{
    return Formula(text).value();
}

const double kNaN = std::nan("");

struct Case
{
    const char* text;
    double value;
};

void expectValues(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        const double v = valueOf(c.text);
        if (std::isnan(c.value))
            EXPECT_TRUE(std::isnan(v)) << c.text << " gave " << v;
        else
            EXPECT_EQ(v, c.value) << c.text;
    }
}

TEST(Expression, ValuesOfWellFormedFormulas)
{
    expectValues({
        {"2 + 3 - 4", 1},
        {"2 * 3 - 1", 5},
        {"1 + 2 * 3", 7},
        {"(2 + 3) * 4", 20},
        {"-3 * 2", -6},
        {"2 * -3", -6},
        {"2 - -4", 6},
        {"1 || -1", 1},
        {"0 || 0", 0},
        {"1 && 0", 0},
        {"5 % -3", 2},
        {"-5 % 3", -2},
        {"!!5", 1},
        {"- -2", 2},
        {"!-0", 1},
        {"~~7", 7},
        {"~0", -1},
        {"sin cos 0", std::sin(1.0)},
        {"7.9 % 3.9", 1},
        {"abs(-2.7)", 2},
        {"fabs(-2.7)", 2.7},
        {"int(-2.7)", -2},
        {"5 ^ 3", 6},
        {"6 & 3 | 8", 10},
        {"1 | 2 ^ 3", 1},
        {"2 == 2 & 1", 1},
        {"1 + 2 == 3", 1},
        {"1 < 2 && 2 < 3 || 0", 1},
        {"pow(2, 10)", 1024},
        {"atan2(1, 0)", std::atan2(1.0, 0.0)},
        {"max(1, 2, 3)", 3},
        {"min(3, 2)", 2},
        {"max(3, 2)", 3},
        {"sqrt 16", 4},
        {"exp(0) + ceil(1.2) + floor(-1.2)", 1},
        {"log(E)", std::log(2.7182818284)},
        {"sinh 1 + cosh 1 + tanh 1", std::sinh(1.0) + std::cosh(1.0) + std::tanh(1.0)},
        {"asin 1 + acos 1 + atan 1 + tan 1", std::asin(1.0) + std::acos(1.0) + std::atan(1.0) + std::tan(1.0)},
        {"1 ? 2 : 3", 2},
        {"0 ? 2 : 3", 3},
        {"0 ? 1 : 0 ? 2 : 3", 3},
        {"1 ? 0 ? 5 : 6 : 7", 6},
        {"0 ? 0 ? 5 : 6 : 7", 7},
        {"1 ? 1 ? 5 : 6 : 0 ? 8 : 9", 5},
        {"0 ? 1 ? 5 : 6 : 0 ? 8 : 9", 9},
        {"3 > 2 ? 10 : 20", 10},
        {"1 + 1 ? 5 : 6", 5},
        {"0 ? 1 : 2 + 3", 5},
        {"PI", 3.141592653},
        {"E", 2.7182818284},
        {"R2D", 57.29577951},
        {"D2R", 0.017453292520882225},
        {"PI - 1", 3.141592653 - 1},
        {"1e3", 1000},
        {"2.5e-1", 0.25},
        {"0x10", 16},
        {" \t\n 42 \n", 42},
        {"1, 2", 2},
    });
}

// Binary operators group left to right within C's levels; a different
// token of one level is no tighter.
TEST(Expression, PrecedenceLevelsGroupLeftToRight)
{
    expectValues({
        {"2 - 3 + 4", 3},
        {"8 / 2 * 2", 8},
        {"10 - 2 - 3", 5},
        {"8 / 2 / 2", 2},
        {"7 % 4 * 2", 6},
        {"7 % 4 / 2", 1.5},
        {"9 / 3 % 2", 1},
        {"0 >= 1 < 2", 1},
        {"1 != 2 == 0", 0},
        {"1 == 2 != 1", 1},
    });
}

TEST(Expression, MalformedTextsYieldNumbers)
{
    expectValues({
        {"", 0},
        {"   ", 0},
        {"* 3", 0},
        {"3 *", 0},
        {"min(4)", 0},
        {"1 2", 2},
        {"1 + 2 $", 0},
        {"(1 $) + 2", 3},
        {"(1 + 2", 0},
        {"3 * (1 + 2", 0},
        {"1 + 2)", 3},
        {".5", 0},
        {"3 = 3", 0},
        {"1\r", 0},
        {"1\n", 1},
        {"?", 0},
        {":", 0},
        {")(", 0},
        {"sin", 0},
        {"pow(2)", 0},
        {"1 ? 2", 2},
        {"\xc3\xa4 + 1", 0},
    });
}

// Nothing stops the program: remainders by zero, truncation of NaN and of
// values outside 32 bits, the absolute value of the smallest integer.
TEST(Expression, IntegerOperatorsNeverTrap)
{
    expectValues({
        {"5 % 0", 0},
        {"5 % 0.5", 0},
        {"-2147483648 % -1", 0},
        {"-2147483648 % 3", -2},
        {"abs(-2147483648)", 2147483648.0},
        // Beyond the 32-bit range the nearest end, NaN 0.
        {"abs(0 / 0)", 0},
        {"int(1e10)", 2147483647},
        {"int(-1e10)", -2147483648.0},
        {"int(0 / 0)", 0},
        {"int(2147483647.9)", 2147483647},
        {"int(-2147483648.9)", -2147483648.0},
        {"~(0 / 0)", -1},
        {"1e10 | 0", 2147483647},
        {"(0 / 0) & 1", 0},
        {"1 / 0", HUGE_VAL},
        {"0 / 0", kNaN},
        {"0 / 0 != 0 / 0", 1},
        {"0 / 0 == 0 / 0", 0},
        {"!(0 / 0)", 0},
        {"(0 / 0) && 1", 1},
        {"(0 / 0) ? 1 : 2", 1},
        {"sqrt(-1)", kNaN},
        {"1e999", HUGE_VAL},
    });
}

TEST(Expression, PostfixForms)
{
    EXPECT_EQ(Formula("p ? x + 1 : y").postfix(),
              (std::vector<std::string>{"Token VARIABLE p", "Token VARIABLE x", "Token NUMBER 1.00", "Token PLUS",
                                        "Token VARIABLE y", "Token IF"}));
    EXPECT_EQ(Formula("pow(x + y, 2)").postfix(),
              (std::vector<std::string>{"Token VARIABLE x", "Token VARIABLE y", "Token PLUS", "Token NUMBER 2.00",
                                        "Token FUNCTION POW"}));
    EXPECT_EQ(Formula("-x * y").postfix(), (std::vector<std::string>{"Token VARIABLE x", "Token NEGATE",
                                                                      "Token VARIABLE y", "Token MULT"}));
    // Unclosed parenthesis and stray characters reach the output.
    EXPECT_EQ(Formula("(1 + 2").postfix(),
              (std::vector<std::string>{"Token NUMBER 1.00", "Token NUMBER 2.00", "Token PLUS", "Token OPEN"}));
    EXPECT_EQ(Formula("1 + 2 $").postfix(),
              (std::vector<std::string>{"Token NUMBER 1.00", "Token NUMBER 2.00", "Token PLUS", "Token NONE"}));

    Formula conditional("p ? x + 1 : y");
    testing::internal::CaptureStdout();
    EXPECT_EQ(stackPrint(conditional.parser.output), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Token VARIABLE p\n"
                                                      "Token VARIABLE x\n"
                                                      "Token NUMBER 1.00\n"
                                                      "Token PLUS\n"
                                                      "Token VARIABLE y\n"
                                                      "Token IF\n");
}

// Variables by name, with a cache per token: found once, never looked up
// again; not found, looked up at every evaluation.
struct Variables
{
    std::map<std::string, double> values;
    std::vector<std::string> lookups;
    static double read(void* data, T_Token* token, char* name)
    {
        Variables* self = static_cast<Variables*>(data);
        if (token->variable == nullptr) {
            self->lookups.push_back(name);
            auto it = self->values.find(name);
            if (it == self->values.end())
                return 0.0;
            token->variable = &it->second;
        }
        return *static_cast<double*>(token->variable);
    }
};

TEST(Expression, VariablesComeFromTheReadFunction)
{
    Variables vars;
    vars.values = {{"x", 2}, {"y", 3}, {"z_1", 10}, {"PIE", 100}, {"sinx", 1000}, {"pi", 7}, {"Sin", 8},
                   {"log10", 9}, {"PI2", 11}};
    const std::vector<Case> cases = {
        {"x * y + z_1", 16}, {"PIE", 100}, {"sinx", 1000}, {"pi", 7}, {"Sin", 8},
        {"log10", 9},        {"PI2", 11},  {"x-1", 1},     {"y -x", 1}, {"(x)-1", 1},
        {"x - -y", 5},       {"unknown", 0}, {"min(x, y) + max(x, y)", 5},
    };
    for (const Case& c : cases) {
        Formula f(c.text);
        EXPECT_EQ(setVarFunc(&f.parser, &vars, Variables::read), 0);
        EXPECT_EQ(f.value(), c.value) << c.text;
    }

    Formula f("a + b + a");
    setVarFunc(&f.parser, &vars, Variables::read);
    vars.lookups.clear();
    f.value();
    EXPECT_EQ(vars.lookups.size(), 3u) << "one lookup per token";
    vars.values["a"] = 1;
    f.value();
    EXPECT_EQ(vars.lookups.size(), 6u) << "not found: looked up again";
    vars.values["b"] = 20;
    EXPECT_EQ(f.value(), 22);
    EXPECT_EQ(vars.lookups.size(), 7u) << "the a tokens are cached, b is found now";
    vars.values["a"] = 5;
    EXPECT_EQ(f.value(), 30);
    EXPECT_EQ(vars.lookups.size(), 7u);

    // Without a read function every variable is 1; parse removes one that
    // was installed.
    EXPECT_EQ(valueOf("q + q"), 2);
    cleanup(&f.parser);
    parse(&f.parser);
    EXPECT_EQ(f.parser.read, nullptr);
}

// The names the read function is asked for, in the order it is asked: a
// right operand before the left one, a conditional's else branch, then its
// then branch, then its condition, a function's second argument before its
// first; tokens below the top's subexpression are not read.
TEST(Expression, VariablesAreReadRightToLeft)
{
    struct Recorder
    {
        std::string names;
        static double read(void* data, T_Token*, char* name)
        {
            std::string& names = static_cast<Recorder*>(data)->names;
            names += names.empty() ? "" : " ";
            names += name;
            return double(name[0]);
        }
    };
    struct OrderCase
    {
        const char* text;
        const char* names;
        double value;
    };
    const std::vector<OrderCase> cases = {
        {"a + b", "b a", 'a' + 'b'},
        {"p ? x : y", "y x p", 'x'},
        {"atan2(y, x)", "x y", std::atan2(double('y'), double('x'))},
        {"pow(a, b - c)", "c b a", std::pow(double('a'), double('b' - 'c'))},
        {"a - b * c", "c b a", 'a' - double('b') * 'c'},
        {"-a * b + sin c", "c b a", -double('a') * 'b' + std::sin(double('c'))},
        {"p ? q ? a : b : c", "c b a q p", 'a'},
        // Both branches read, whichever is taken, however they nest, also where
    // only the chosen one is computed.
        {"p ? a + b : c * d", "d c b a p", 'a' + 'b'},
        {"p - p ? a + b : c * d", "d c b a p p", 'c' * double('d')},
        {"(0 / 0) ? a - b : c", "c b a", 'a' - 'b'},
        {"p ? (q - q ? a * 2 : b * 3) : c", "c b a q q p", 'b' * 3},
        {"p - p ? a + 1 : 0 ? b : c * 2", "c b a p p", 'c' * 2},
        {"(p - p ? a : b + 1) ? (q ? c - 1 : d) + 1 : e", "e d c q b a p p", 'c'},
        {"p ? sin a : cos b", "b a p", std::sin(double('a'))},
        {"p - p ? sqrt a : -b * 2 + c", "c b a p p", -'b' * 2 + 'c'},
        {"(0 / 0) ? sin a : c", "c a", std::sin(double('a'))},
        {"p ? (q - q ? exp a : abs b) : int c", "c b a q q p", 'b'},
        {"a - a ? b : (c - c ? sin d : e) * 2 + 1", "e d c c b a a", 'e' * 2 + 1},
        {"p ? (q ? sin a : b) : (r - r ? c : cos d)", "d c r r b a q p", std::sin(double('a'))},
        {"min(a + b, c) + max(d, e)", "e d c b a", 'c' + 'e'},
        {"a == b || !c", "c b a", 0},
        {"a b", "b", 'b'},
        {"a + b $", "", 0},
    };
    for (const OrderCase& c : cases) {
        Recorder recorder;
        Formula f(c.text);
        setVarFunc(&f.parser, &recorder, Recorder::read);
        EXPECT_EQ(f.value(), c.value) << c.text;
        EXPECT_EQ(recorder.names, c.names) << c.text;
        recorder.names.clear();
        f.value();
        EXPECT_EQ(recorder.names, c.names) << c.text << ", evaluated again";
    }
}

TEST(Expression, LongIdentifiersKeep255Characters)
{
    Formula f(std::string(300, 'v') + " + 1");
    ASSERT_EQ(f.parser.output->count, 3);
    EXPECT_EQ(std::string(f.parser.output->items[0].name), std::string(255, 'v'));
    EXPECT_EQ(f.parser.output->items[0].variable, nullptr);
    EXPECT_EQ(f.value(), 2) << "the rest of the identifier is consumed";
}

// Runs f on a thread whose stack is too small for a recursion as deep as
// the formulas below (10,000 levels of even 16 bytes each): parsing and
// evaluating them must not recurse.
template <typename F>
void onSmallStack(F f)
{
    pthread_attr_t attributes;
    ASSERT_EQ(pthread_attr_init(&attributes), 0);
    ASSERT_EQ(pthread_attr_setstacksize(&attributes, 128 * 1024), 0);
    pthread_t thread;
    auto body = [](void* arg) -> void* {
        (*static_cast<F*>(arg))();
        return nullptr;
    };
    ASSERT_EQ(pthread_create(&thread, &attributes, body, &f), 0);
    EXPECT_EQ(pthread_join(thread, nullptr), 0);
    pthread_attr_destroy(&attributes);
}

// Evaluation walks the stack without changing it and follows what is pushed
// onto or popped off it afterwards; deeply nested formulas neither exhaust
// the call stack nor take quadratic time to build.
TEST(Expression, EvaluationRepeatsAndNests)
{
    Formula f("1 2 + 3");
    const int count = f.parser.output->count;
    EXPECT_EQ(f.value(), 5);
    EXPECT_EQ(f.parser.output->readPosition, 1) << "the 1 below the sum is not consumed";
    EXPECT_EQ(f.value(), 5);
    EXPECT_EQ(f.parser.output->count, count);
    T_Token times = *stackPop(f.parser.output);
    times.kind = TOKEN_MULT;
    stackPush(f.parser.output, times);
    EXPECT_EQ(f.value(), 6) << "the same count, another operator";
    stackPop(f.parser.output);
    EXPECT_EQ(f.value(), 3);
    EXPECT_EQ(f.parser.output->readPosition, 2);

    const int n = 10000;
    const std::vector<std::string> nested = {std::string(n, '-') + "1",
                                             std::string(n, '(') + "7" + std::string(n, ')'),
                                             std::string(n - 1, '!') + "0", std::string(n / 2, '~') + "5"};
    std::string thenChain;
    std::string elseChain;
    for (int i = 0; i < n; ++i) {
        thenChain += "1 ? ";
        elseChain += "0 ? 2 : ";
    }
    thenChain += "sin 1";
    for (int i = 0; i < n; ++i)
        thenChain += " : 2";
    elseChain += "sin 1";
    std::string sum;
    for (int i = 0; i < n; ++i)
        sum += "1+";
    sum += "1";
    std::vector<double> values;
    int32_t sumCount = 0;
    int32_t sumCapacity = 0;
    onSmallStack([&] {
        for (const std::string& text : nested)
            values.push_back(valueOf(text));
        values.push_back(valueOf(thenChain));
        values.push_back(valueOf(elseChain));
        Formula big(sum);
        values.push_back(big.value());
        values.push_back(big.value());
        sumCount = big.parser.output->count;
        sumCapacity = big.parser.output->capacity;
    });
    EXPECT_EQ(values, (std::vector<double>{1, 7, 1, 5, std::sin(1.0), std::sin(1.0), n + 1, n + 1}));
    EXPECT_EQ(sumCount, 2 * n + 1);
    EXPECT_LT(sumCapacity, 2 * sumCount + 5) << "grown by doubling";
    EXPECT_EQ(evaluate(nullptr), 0);
    T_Parser unparsed{};
    EXPECT_EQ(evaluate(&unparsed), 0);
    EXPECT_EQ(parse(nullptr), 0);
    T_Parser noText{};
    parse(&noText);
    EXPECT_EQ(evaluate(&noText), 0);
    cleanup(&noText);
}

TEST(Expression, TokenAndFunctionTexts)
{
    const std::map<int, const char*> kinds = {
        {TOKEN_OPEN, "Token OPEN"},          {TOKEN_CLOSE, "Token CLOSE"},
        {TOKEN_NONE, "Token NONE"},          {TOKEN_DONE, "Token DONE"},
        {TOKEN_COMMA, "Token COMMA"},        {TOKEN_IF, "Token IF"},
        {TOKEN_IF_THEN, "Token IF_THEN"},    {TOKEN_LOG_OR, "Token LOG_OR"},
        {TOKEN_LOG_AND, "Token LOG_AND"},    {TOKEN_BIT_OR, "Token BIT_OR"},
        {TOKEN_BIT_EXCL, "Token BIT_EXCL"},  {TOKEN_BIT_AND, "Token BIT_AND"},
        {TOKEN_NOT_EQUAL, "Token NOT_EQUAL"}, {TOKEN_EQUAL, "Token EQUAL"},
        {TOKEN_GREATER_EQUAL, "Token GREATER_EQUAL"}, {TOKEN_GREATER, "Token GREATER"},
        {TOKEN_LESS_EQUAL, "Token LESS_EQUAL"}, {TOKEN_LESS, "Token LESS"},
        {TOKEN_MINUS, "Token MINUS"},        {TOKEN_PLUS, "Token PLUS"},
        {TOKEN_MOD, "Token MOD"},            {TOKEN_DIV, "Token DIV"},
        {TOKEN_MULT, "Token MULT"},          {TOKEN_NEGATE, "Token NEGATE"},
        {TOKEN_LOG_NOT, "Token LOG_NOT"},    {TOKEN_BIT_NOT, "Token BIT_NOT"},
        {99, "Unknown"},                     {1022, "Unknown"},
    };
    T_Token t{};
    for (const auto& k : kinds) {
        t.kind = k.first;
        EXPECT_STREQ(getToken(&t), k.second);
    }
    t.kind = TOKEN_NUMBER;
    t.value = -2.345;
    EXPECT_STREQ(getToken(&t), "Token NUMBER -2.35");
    t.kind = TOKEN_VARIABLE;
    std::strcpy(t.name, "speed");
    EXPECT_STREQ(getToken(&t), "Token VARIABLE speed");
    EXPECT_STREQ(getToken(nullptr), "Unknown");

    const char* names[] = {"SIN",  "COS",   "TAN",  "LOG",  "ABS",  "ASIN",  "ACOS", "ATAN",
                           "LOG10", "SQRT", "EXP",  "CEIL", "FLOOR", "Unknown", "SINH", "COSH",
                           "TANH", "ATAN2", "POW",  "FABS", "MIN",  "MAX",   "FINT"};
    for (int id = FUNC_SIN; id <= FUNC_FINT; ++id)
        EXPECT_STREQ(getFunction(id), names[id - FUNC_SIN]) << id;
    EXPECT_STREQ(getFunction(1999), "Unknown");
    t.kind = TOKEN_FUNCTION;
    t.function = FUNC_ATAN2;
    EXPECT_STREQ(getToken(&t), "Token FUNCTION ATAN2");

    // LOG10 has no word but evaluates; 2013 evaluates to 0 and takes nothing.
    T_Parser p{};
    p.text = "100 5";
    parse(&p);
    T_Token top = *stackTop(p.output);
    top.kind = TOKEN_FUNCTION;
    top.function = FUNC_LOG10;
    stackPush(p.output, top);
    EXPECT_EQ(evaluate(&p), std::log10(5.0));
    top.function = 2013;
    stackPush(p.output, top);
    EXPECT_EQ(evaluate(&p), 0);
    EXPECT_EQ(p.output->readPosition, p.output->count - 1);
    cleanup(&p);
    EXPECT_EQ(operator_if(0, 1, 2), 2);
    EXPECT_EQ(operator_if(kNaN, 1, 2), 1);
}

TEST(Expression, TokenStack)
{
    T_Stack* s = stackCreate();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->count, 0);
    EXPECT_EQ(s->capacity, 5);
    EXPECT_EQ(stackTop(s), nullptr);
    EXPECT_EQ(stackPop(s), nullptr);
    EXPECT_EQ(stackPopShadow(s), nullptr);
    T_Token t{};
    t.kind = TOKEN_NUMBER;
    for (int i = 0; i < 6; ++i) {
        t.value = i;
        EXPECT_EQ(stackPush(s, t), 0);
        EXPECT_EQ(s->readPosition, s->count);
    }
    EXPECT_EQ(s->count, 6);
    EXPECT_EQ(s->capacity, 10);
    EXPECT_EQ(stackTop(s)->value, 5);
    EXPECT_EQ(stackPopShadow(s)->value, 5);
    EXPECT_EQ(stackPopShadow(s)->value, 4);
    EXPECT_EQ(s->readPosition, 4);
    EXPECT_EQ(s->count, 6) << "shadow pops keep the tokens";
    EXPECT_EQ(stackReset(s), 0);
    EXPECT_EQ(s->readPosition, 6);
    const T_Token* popped = stackPop(s);
    ASSERT_NE(popped, nullptr);
    EXPECT_EQ(popped->value, 5);
    EXPECT_EQ(s->count, 5);
    EXPECT_EQ(s->readPosition, 5);
    while (stackPopShadow(s) != nullptr) {
    }
    EXPECT_EQ(s->readPosition, 0);
    EXPECT_EQ(stackPush(nullptr, t), -1);
    EXPECT_EQ(stackReset(nullptr), -1);
    EXPECT_EQ(stackDelete(s), 0);
    EXPECT_EQ(stackDelete(nullptr), 0);
}

// The scanner alone: one token per call, the position past it.
TEST(Expression, ScannerReadsOneTokenAtATime)
{
    T_Parser p{};
    p.text = "  sin(x1)>=-2";
    p.current.kind = TOKEN_NONE;
    std::vector<std::string> seen;
    std::vector<int> positions;
    T_Token t;
    for (scanner(&t, &p); t.kind != TOKEN_DONE; scanner(&t, &p)) {
        p.current = t;
        seen.push_back(getToken(&t));
        positions.push_back(p.position);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Token FUNCTION SIN", "Token OPEN", "Token VARIABLE x1", "Token CLOSE",
                                              "Token GREATER_EQUAL", "Token NEGATE", "Token NUMBER 2.00"}));
    EXPECT_EQ(positions, (std::vector<int>{5, 6, 8, 9, 11, 12, 13}));
    EXPECT_EQ(scanner(&t, &p)->kind, TOKEN_DONE);
    EXPECT_EQ(p.position, 13) << "DONE leaves the position";
    EXPECT_EQ(scanner(nullptr, &p), nullptr);
}

} // namespace
