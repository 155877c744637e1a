// libFuzzer target: arbitrary text as a formula, parsed and evaluated with
// variables. The value must equal a plain top-down reading of the postfix
// form (each operator takes its operands from right below it, nearest
// first, 0 for those that run out; the engine's own operand counts, and the
// engine applying each single operator to its operand values), the read
// function must be asked for the variables in the order of that reading,
// evaluating must leave the form as it was, and nothing may crash or read
// outside the text.
#include "dorneExpression.h"
#include "expression/expressionInternal.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The names asked for, in order.
std::vector<std::string> reads;

// A value from the name alone, so that every reading agrees.
double readVariable(void*, T_Token*, char* name)
{
    reads.emplace_back(name);
    const size_t n = std::strlen(name);
    return double(n) - double(static_cast<unsigned char>(name[0])) / 16.0;
}

// The engine's value of one token over operand values given as numbers.
double applyOne(const T_Token& t, const std::vector<double>& operands)
{
    T_Parser one{};
    one.output = stackCreate();
    if (one.output == nullptr)
        abort();
    T_Token number{};
    number.kind = TOKEN_NUMBER;
    for (double v : operands) {
        number.value = v;
        stackPush(one.output, number);
    }
    stackPush(one.output, t);
    const double value = evaluate(&one);
    cleanup(&one);
    return value;
}

// Top-down over items[0 .. position): the value of the subexpression whose
// root is items[position - 1]; position moves below it.
double reference(const T_Stack* s, int32_t& position)
{
    if (position <= 0)
        return 0.0;
    const T_Token& t = s->items[--position];
    if (t.kind == TOKEN_NUMBER)
        return t.value;
    if (t.kind == TOKEN_VARIABLE)
        return readVariable(nullptr, nullptr, const_cast<char*>(t.name));
    const int n = dorne::operandCount(t);
    std::vector<double> operands(size_t(n), 0.0);
    for (int k = n - 1; k >= 0; --k) // the nearest operand is the last one
        operands[size_t(k)] = reference(s, position);
    return applyOne(t, operands);
}

bool same(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    T_Parser parser{};
    parser.text = text.c_str();
    parse(&parser);
    setVarFunc(&parser, nullptr, readVariable);
    T_Stack* out = parser.output;
    if (out == nullptr || out->count < 0 || out->count > out->capacity || int64_t(out->count) > int64_t(size) + 1)
        abort();
    const std::vector<T_Token> before(out->items, out->items + out->count);

    reads.clear();
    const double first = evaluate(&parser);
    const int32_t below = out->readPosition;
    const std::vector<std::string> firstReads = reads;
    reads.clear();
    const double second = evaluate(&parser);
    if (!same(first, second) || out->readPosition != below || out->count != int32_t(before.size()) ||
        reads != firstReads)
        abort();
    for (size_t i = 0; i < before.size(); ++i)
        if (std::memcmp(&before[i], &out->items[i], sizeof(T_Token)) != 0)
            abort(); // nothing to cache: the read function keeps no variable

    int32_t position = out->count;
    reads.clear();
    const double expected = reference(out, position);
    if (!same(first, expected) || position != below || reads != firstReads)
        abort();
    for (int32_t i = 0; i < out->count; ++i)
        if (getToken(&out->items[i]) == nullptr)
            abort();
    cleanup(&parser);
    return 0;
}
