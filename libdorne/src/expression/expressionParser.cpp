// The expression engine: parse builds the postfix form with an
// operator-precedence pass; evaluate walks it from the top.
#include "dorneExpression.h"
#include "expression/expressionInternal.h"

#include <cmath>
#include <memory>
#include <new>

namespace {

using dorne::isInfix;
using dorne::operandCount;

// Marks a "?" on the operator stack whose ":" has come (in its value, which
// a conditional does not use otherwise).
const double kIfHasElse = 1.0;

bool isOperator(int kind)
{
    return kind >= TOKEN_IF;
}

// How tightly an operator binds. The kind numbers order the operators, but
// the binary ones share C's levels so that each level groups left to right
// (2 - 3 + 4 is 3, 8 / 2 * 2 is 8).
int bindingLevel(int kind)
{
    switch (kind) {
    case TOKEN_EQUAL:
        return TOKEN_NOT_EQUAL;
    case TOKEN_GREATER:
    case TOKEN_LESS_EQUAL:
    case TOKEN_LESS:
        return TOKEN_GREATER_EQUAL;
    case TOKEN_PLUS:
        return TOKEN_MINUS;
    case TOKEN_DIV:
    case TOKEN_MULT:
        return TOKEN_MOD;
    default:
        return kind;
    }
}

double truthOf(bool b)
{
    return b ? 1.0 : 0.0;
}

// The integer operators work on operands truncated to 32 bits.
double integerOperation(int kind, double left, double right)
{
    const int32_t a = dorne::truncateInt32(left);
    const int32_t b = dorne::truncateInt32(right);
    switch (kind) {
    case TOKEN_MOD:
        // No remainder by zero, and none that overflows (INT32_MIN % -1).
        if (b == 0 || b == -1)
            return 0.0;
        return double(a % b);
    case TOKEN_BIT_OR:
        return double(a | b);
    case TOKEN_BIT_EXCL:
        return double(a ^ b);
    default: // TOKEN_BIT_AND
        return double(a & b);
    }
}

double infix(int kind, double left, double right)
{
    switch (kind) {
    case TOKEN_MINUS: return left - right;
    case TOKEN_PLUS: return left + right;
    case TOKEN_MULT: return left * right;
    case TOKEN_DIV: return left / right;
    case TOKEN_LESS: return truthOf(left < right);
    case TOKEN_LESS_EQUAL: return truthOf(left <= right);
    case TOKEN_GREATER: return truthOf(left > right);
    case TOKEN_GREATER_EQUAL: return truthOf(left >= right);
    case TOKEN_EQUAL: return truthOf(left == right);
    case TOKEN_NOT_EQUAL: return truthOf(left != right);
    // Both sides are always evaluated; NaN counts as non-zero.
    case TOKEN_LOG_OR: return truthOf(left != 0.0 || right != 0.0);
    case TOKEN_LOG_AND: return truthOf(!(left == 0.0 || right == 0.0));
    default: return integerOperation(kind, left, right);
    }
}

// One argument in a; b is the second of the two-argument functions.
double function(int id, double a, double b)
{
    switch (id) {
    case FUNC_SIN: return std::sin(a);
    case FUNC_COS: return std::cos(a);
    case FUNC_TAN: return std::tan(a);
    case FUNC_LOG: return std::log(a);
    case FUNC_ABS: return std::fabs(double(dorne::truncateInt32(a))); // defined for INT32_MIN too
    case FUNC_ASIN: return std::asin(a);
    case FUNC_ACOS: return std::acos(a);
    case FUNC_ATAN: return std::atan(a);
    case FUNC_LOG10: return std::log10(a);
    case FUNC_SQRT: return std::sqrt(a);
    case FUNC_EXP: return std::exp(a);
    case FUNC_CEIL: return std::ceil(a);
    case FUNC_FLOOR: return std::floor(a);
    case FUNC_SINH: return std::sinh(a);
    case FUNC_COSH: return std::cosh(a);
    case FUNC_TANH: return std::tanh(a);
    case FUNC_FABS: return std::fabs(a);
    case FUNC_FINT: return double(dorne::truncateInt32(a));
    case FUNC_ATAN2: return std::atan2(a, b);
    case FUNC_POW: return std::pow(a, b);
    case FUNC_MIN: return b < a ? b : a;
    case FUNC_MAX: return a < b ? b : a;
    default: return 0.0;
    }
}

// The value of one output token whose operands were taken off the values:
// operands[0] is the deepest (left-most), the last the nearest.
double apply(T_Parser* parser, T_Token& t, const double* operands)
{
    switch (t.kind) {
    case TOKEN_NUMBER:
        return t.value;
    case TOKEN_VARIABLE:
        return parser->read != nullptr ? parser->read(parser->readData, &t, t.name) : 1.0;
    case TOKEN_IF:
        return operands[0] != 0.0 ? operands[1] : operands[2];
    case TOKEN_NEGATE:
        return -operands[0];
    case TOKEN_LOG_NOT:
        return truthOf(operands[0] == 0.0);
    case TOKEN_BIT_NOT:
        return double(~dorne::truncateInt32(operands[0]));
    case TOKEN_FUNCTION:
        return function(t.function, operands[0], operands[1]);
    default:
        return isInfix(t.kind) ? infix(t.kind, operands[0], operands[1]) : 0.0;
    }
}

// Evaluates the subexpression whose root is the token just below the output
// stack's read position and moves the read position below it; 0 when there
// is none. An operator whose operands run out takes 0 for the missing ones,
// the left-most first (min(4) is min(0, 4)).
//
// The subexpression is a contiguous run of the postfix form ending at its
// root. It is found by counting operands downwards, then computed upwards
// with a stack of values, so that no formula, however deeply nested, can
// exhaust the call stack.
double pop(T_Parser* parser)
{
    T_Stack* output = parser->output;
    if (output == nullptr || output->readPosition <= 0 || output->readPosition > output->count)
        return 0.0;
    const int32_t top = output->readPosition;
    int32_t start = top;
    for (int64_t needed = 1; needed > 0 && start > 0;) // each step takes one token below
        needed += operandCount(output->items[--start]) - 1;
    output->readPosition = start;

    // Each token leaves one value, so top - start values suffice.
    const int32_t tokens = top - start;
    double local[64];
    std::unique_ptr<double[]> heap;
    double* values = local;
    if (tokens > 64) {
        heap.reset(new (std::nothrow) double[size_t(tokens)]);
        if (heap == nullptr)
            return 0.0;
        values = heap.get();
    }
    int32_t depth = 0;
    for (int32_t i = start; i < top; ++i) { // once per token of the subexpression
        T_Token& t = output->items[i];
        // Operands and the common binary operators directly: this is the
        // data cycle's inner loop.
        if (t.kind == TOKEN_NUMBER) {
            values[depth++] = t.value;
            continue;
        }
        if (t.kind == TOKEN_VARIABLE) {
            values[depth++] = parser->read != nullptr ? parser->read(parser->readData, &t, t.name) : 1.0;
            continue;
        }
        if (depth >= 2 && t.kind >= TOKEN_MINUS && t.kind <= TOKEN_MULT && t.kind != TOKEN_MOD) {
            const double right = values[--depth];
            double& left = values[depth - 1];
            switch (t.kind) {
            case TOKEN_MINUS: left = left - right; break;
            case TOKEN_PLUS: left = left + right; break;
            case TOKEN_DIV: left = left / right; break;
            default: left = left * right; break;
            }
            continue;
        }
        const int32_t n = operandCount(t);
        double operands[3] = {0.0, 0.0, 0.0};
        const int32_t taken = n < depth ? n : depth;
        for (int32_t k = 0; k < taken; ++k) // missing operands stay 0 at the left
            operands[n - 1 - k] = values[depth - 1 - k];
        depth -= taken;
        values[depth++] = apply(parser, t, operands);
    }
    return depth > 0 ? values[depth - 1] : 0.0;
}

void moveOperator(T_Parser* parser)
{
    T_Token* t = stackPop(parser->operators);
    if (t != nullptr)
        stackPush(parser->output, *t);
}

// Moves operators from the operator stack to the output until the top is
// no operator or one that `stop` accepts.
template <typename Stop>
void moveOperators(T_Parser* parser, Stop stop)
{
    for (const T_Token* top = stackTop(parser->operators); // bounded by the stack's count
         top != nullptr && isOperator(top->kind) && !stop(*top); top = stackTop(parser->operators))
        moveOperator(parser);
}

void handle(T_Parser* parser, const T_Token& token)
{
    const int kind = token.kind;
    switch (kind) {
    case TOKEN_NUMBER:
    case TOKEN_VARIABLE:
        stackPush(parser->output, token);
        return;
    case TOKEN_OPEN:
        stackPush(parser->operators, token);
        return;
    case TOKEN_CLOSE:
        // Down to the matching "(": operators go out, everything else (",",
        // stray characters, the "(") is dropped.
        for (T_Token* t = stackPop(parser->operators); t != nullptr; t = stackPop(parser->operators)) {
            if (t->kind == TOKEN_OPEN)
                break;
            if (isOperator(t->kind))
                stackPush(parser->output, *t);
        }
        return;
    case TOKEN_COMMA:
        moveOperators(parser, [](const T_Token&) { return false; });
        stackPush(parser->operators, token);
        return;
    case TOKEN_IF:
        // Stops at any "?": conditionals group right to left.
        moveOperators(parser, [](const T_Token& top) { return top.kind == TOKEN_IF; });
        stackPush(parser->operators, token);
        return;
    case TOKEN_IF_THEN:
        // The ":" belongs to the nearest "?" still waiting for one, which
        // stays below and takes the else branch as its third operand. A "?"
        // that had its ":" is complete and goes out first, so that a
        // conditional inside a then branch (a ? b ? c : d : e) closes there.
        moveOperators(parser, [](const T_Token& top) { return top.kind == TOKEN_IF && top.value == 0.0; });
        if (T_Token* open = stackTop(parser->operators); open != nullptr && open->kind == TOKEN_IF)
            open->value = kIfHasElse;
        return;
    case TOKEN_NEGATE:
    case TOKEN_LOG_NOT:
    case TOKEN_BIT_NOT:
    case TOKEN_FUNCTION:
        stackPush(parser->operators, token);
        return;
    default:
        break;
    }
    if (isInfix(kind) || kind == TOKEN_NONE) {
        // A stray character binds loosest of all: it moves every operator
        // down to the nearest "(", "," or stray character.
        const int level = bindingLevel(kind);
        moveOperators(parser, [level](const T_Token& top) { return bindingLevel(top.kind) < level; });
        stackPush(parser->operators, token);
    }
}

} // namespace

double parse(T_Parser* parser)
{
    if (parser == nullptr)
        return 0.0;
    parser->position = 0;
    parser->current.kind = TOKEN_NONE;
    parser->read = nullptr;
    parser->operators = stackCreate();
    parser->output = stackCreate();
    if (parser->operators == nullptr || parser->output == nullptr) {
        stackDelete(parser->operators);
        parser->operators = nullptr;
        return 0.0; // an output stack alone evaluates to 0
    }
    T_Token token;
    // Every token but DONE consumes at least one character.
    for (scanner(&token, parser); token.kind != TOKEN_DONE; scanner(&token, parser)) {
        parser->current = token;
        handle(parser, token);
    }
    parser->current = token;
    // What is left goes out top first, but for the commas: an unclosed "("
    // or a stray character on top makes the value 0.
    for (T_Token* t = stackPop(parser->operators); t != nullptr; t = stackPop(parser->operators))
        if (t->kind != TOKEN_COMMA)
            stackPush(parser->output, *t);
    stackDelete(parser->operators);
    parser->operators = nullptr;
    return 0.0;
}

int setVarFunc(T_Parser* parser, void* data, T_ReadFunction read)
{
    if (parser == nullptr)
        return -1;
    parser->readData = data;
    parser->read = read;
    return 0;
}

double evaluate(T_Parser* parser)
{
    if (parser == nullptr || parser->output == nullptr)
        return 0.0;
    stackReset(parser->output);
    return pop(parser);
}

int cleanup(T_Parser* parser)
{
    if (parser == nullptr)
        return 0;
    stackDelete(parser->output);
    parser->output = nullptr;
    return 0;
}

double operator_if(double condition, double a, double b)
{
    return condition == 0.0 ? b : a;
}
