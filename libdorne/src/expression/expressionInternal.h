// What the expression engine shares inside the library: the truncations of
// doubles to integers that its bit operators and the calculator's stores use,
// and how many operands each token of a postfix form takes.
#ifndef DORNE_EXPRESSION_INTERNAL_H
#define DORNE_EXPRESSION_INTERNAL_H

#include "dorneExpression.h"

#include <cstdint>

namespace dorne {

// Toward zero; NaN and values outside the range give the smallest integer
// (a plain conversion would be undefined there).
inline int32_t truncateInt32(double v)
{
    if (!(v > -2147483649.0 && v < 2147483648.0))
        return INT32_MIN;
    return int32_t(v);
}

inline int64_t truncateInt64(double v)
{
    // -2^63 itself is representable; 2^63 is the first value above the range.
    if (!(v >= -9223372036854775808.0 && v < 9223372036854775808.0))
        return INT64_MIN;
    return int64_t(v);
}

inline bool isInfix(int kind)
{
    return kind >= TOKEN_LOG_OR && kind <= TOKEN_MULT;
}

// Arguments of a function id: 2 for atan2, pow, min and max, 1 for the
// others, 0 for an unassigned id (it is 0 and takes nothing).
inline int functionArguments(int id)
{
    switch (id) {
    case FUNC_ATAN2:
    case FUNC_POW:
    case FUNC_MIN:
    case FUNC_MAX:
        return 2;
    case FUNC_SIN: case FUNC_COS: case FUNC_TAN: case FUNC_LOG: case FUNC_ABS: case FUNC_ASIN:
    case FUNC_ACOS: case FUNC_ATAN: case FUNC_LOG10: case FUNC_SQRT: case FUNC_EXP: case FUNC_CEIL:
    case FUNC_FLOOR: case FUNC_SINH: case FUNC_COSH: case FUNC_TANH: case FUNC_FABS: case FUNC_FINT:
        return 1;
    default:
        return 0;
    }
}

// Subexpressions a token of the output takes from right below it. Operands,
// and what is no operator (an unclosed "(", a stray character), take none.
inline int operandCount(const T_Token& t)
{
    if (isInfix(t.kind))
        return 2;
    switch (t.kind) {
    case TOKEN_IF:
        return 3;
    case TOKEN_NEGATE:
    case TOKEN_LOG_NOT:
    case TOKEN_BIT_NOT:
        return 1;
    case TOKEN_FUNCTION:
        return functionArguments(t.function);
    default:
        return 0;
    }
}

} // namespace dorne

#endif
