// What the expression engine shares inside the library: how many operands
// each token of a postfix form takes.
#ifndef DORNE_EXPRESSION_INTERNAL_H
#define DORNE_EXPRESSION_INTERNAL_H

#include "dorneExpression.h"

namespace dorne {

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
