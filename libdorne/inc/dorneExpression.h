#ifndef DORNE_EXPRESSION_H
#define DORNE_EXPRESSION_H

/* The expression engine of the calculator source: parse scans a formula once
   into a postfix token stack; evaluate walks that stack as often as needed
   without consuming it. Arithmetic is in doubles; "%", "|", "^" (exclusive
   or, there is no power operator), "&", "~", abs and int work on values
   truncated toward zero to 32-bit integers (NaN becomes 0, values out of
   range the nearest 32-bit integer). Variables are read through a function
   the caller installs, once per variable token at every evaluation, in the
   order of a walk from the top of the postfix form: a right operand before
   the left one, a conditional's else branch, then its then branch, then its
   condition (all three are read; only the chosen branch is computed), a
   function's second argument before its first. No text is rejected:
   malformed input yields a number, 0 in most cases.

   Precedence, loosest first, each level grouping left to right: "? :"
   (right to left), "||", "&&", "|", "^", "&", "==" "!=", "<" "<=" ">" ">=",
   "+" "-", "*" "/" "%"; then the prefix operators "-", "!", "~" and the
   functions, which apply right to left. Functions take one argument, or two
   for atan2, pow, min and max; a one-argument function also applies to a bare
   operand (sin x). Words: the constants PI, E, R2D, D2R and the functions
   min max int sinh cosh tanh sin cos tan abs asin acos atan2 atan log sqrt exp
   ceil floor pow fabs; any other identifier is a variable. */

#include "dorneExport.h"

#include <stdint.h>

/* Token kinds. From TOKEN_IF on the number orders the operators: a higher one
   binds at least as tight. */
enum
{
    TOKEN_NUMBER = 100,   /* decimal number or constant word */
    TOKEN_VARIABLE = 101, /* identifier */
    TOKEN_OPEN = 102,     /* ( */
    TOKEN_CLOSE = 103,    /* ) */
    TOKEN_NONE = 104,     /* any other character; also the kind before the first token */
    TOKEN_DONE = 105,     /* end of the text */
    TOKEN_COMMA = 106,
    TOKEN_IF = 1000,      /* ? */
    TOKEN_IF_THEN = 1001, /* : (never stored) */
    TOKEN_LOG_OR = 1002,
    TOKEN_LOG_AND = 1003,
    TOKEN_BIT_OR = 1004,
    TOKEN_BIT_EXCL = 1005,
    TOKEN_BIT_AND = 1006,
    TOKEN_NOT_EQUAL = 1007,
    TOKEN_EQUAL = 1008,
    TOKEN_GREATER_EQUAL = 1009,
    TOKEN_GREATER = 1010,
    TOKEN_LESS_EQUAL = 1011,
    TOKEN_LESS = 1012,
    TOKEN_MINUS = 1013,   /* - after an operand */
    TOKEN_PLUS = 1014,
    TOKEN_MOD = 1015,
    TOKEN_DIV = 1016,
    TOKEN_MULT = 1017,
    TOKEN_NEGATE = 1018,  /* - where no operand precedes */
    TOKEN_LOG_NOT = 1019,
    TOKEN_BIT_NOT = 1020,
    TOKEN_FUNCTION = 1021 /* function id in T_Token.function */
};

/* Function ids. FUNC_LOG10 has no word; 2013 is not assigned. */
enum
{
    FUNC_SIN = 2000,
    FUNC_COS = 2001,
    FUNC_TAN = 2002,
    FUNC_LOG = 2003,
    FUNC_ABS = 2004,
    FUNC_ASIN = 2005,
    FUNC_ACOS = 2006,
    FUNC_ATAN = 2007,
    FUNC_LOG10 = 2008,
    FUNC_SQRT = 2009,
    FUNC_EXP = 2010,
    FUNC_CEIL = 2011,
    FUNC_FLOOR = 2012,
    FUNC_SINH = 2014,
    FUNC_COSH = 2015,
    FUNC_TANH = 2016,
    FUNC_ATAN2 = 2017,
    FUNC_POW = 2018,
    FUNC_FABS = 2019,
    FUNC_MIN = 2020,
    FUNC_MAX = 2021,
    FUNC_FINT = 2022
};

/* One token; stacks hold tokens by value. */
typedef struct T_Token
{
    int32_t kind;     /* TOKEN_* */
    double value;     /* TOKEN_NUMBER */
    int32_t function; /* TOKEN_FUNCTION: FUNC_* */
    char name[256];   /* TOKEN_VARIABLE: the identifier, at most 255 characters */
    void* variable;   /* the read function's cache (the engine only clears it) */
} T_Token;

/* A token stack. Every push and pop sets readPosition to count; evaluation
   moves readPosition down without removing anything. */
typedef struct T_Stack
{
    int32_t count;
    int32_t readPosition;
    int32_t capacity; /* 5 when created; a push onto a full stack doubles it */
    T_Token* items;   /* owned */
} T_Stack;

/* Installed by the caller: the value of the variable token (name is its
   name). The token stays in the parser, so its variable field may cache. */
typedef double (*T_ReadFunction)(void* data, T_Token* token, char* name);

/* One formula. The caller allocates it, sets text, calls parse and then
   setVarFunc, evaluates as often as needed, then calls cleanup and frees it.
   A parser that parse has not filled (an output stack built by hand) must
   start zeroed. */
typedef struct T_Parser
{
    int32_t position;    /* next character of text to scan */
    const char* text;    /* not owned; read by parse only */
    T_Token current;     /* the token scanned last; after parse its variable
                            field keeps what evaluate compiled from the output
                            (freed by cleanup) */
    void* readData;      /* handed to read */
    T_ReadFunction read; /* null: every variable is 1.0 */
    T_Stack* operators;  /* used while parse runs */
    T_Stack* output;     /* the postfix form, bottom to top (owned until cleanup) */
} T_Parser;

/* ---- Formulas ---------------------------------------------------------- */

/* Scans text (a null text as empty) into a new output stack, replacing the
   pointer (and the compiled form) without freeing what it held; clears read.
   Always 0. */
DORNE_API double parse(T_Parser* parser);

/* Installs the read function and its data; call after parse. 0, -1 for a
   null parser. */
DORNE_API int setVarFunc(T_Parser* parser, void* data, T_ReadFunction read);

/* The formula's value (0 for a null parser or an empty formula). The first
   evaluation compiles the output stack; a push onto it or a pop off it
   makes the next one compile it again (a token changed in place is not
   seen). One thread at a time per parser. */
DORNE_API double evaluate(T_Parser* parser);

/* Deletes the output stack and the compiled form (the parser is not
   evaluated afterwards). 0. */
DORNE_API int cleanup(T_Parser* parser);

/* Reads the next token at parser->position into token, advancing the
   position; returns token (null when either is null). */
DORNE_API T_Token* scanner(T_Token* token, T_Parser* parser);

/* "SIN", "COS", ... "FINT" for a function id; "Unknown" for any other. */
DORNE_API const char* getFunction(int id);

/* "Token NUMBER %.2f", "Token VARIABLE <name>", "Token FUNCTION <name>" or
   "Token <kind>" (e.g. "Token NOT_EQUAL"); "Unknown" for another kind or a
   null token. The formatted texts live in a per-thread buffer that the next
   call overwrites. */
DORNE_API const char* getToken(const T_Token* token);

/* b when condition is 0, else a. */
DORNE_API double operator_if(double condition, double a, double b);

/* ---- Token stacks ------------------------------------------------------ */

/* A new empty stack of capacity 5, owned by the caller; null when memory
   runs out. */
DORNE_API T_Stack* stackCreate(void);

/* Frees the items and the stack; 0 (also for null). */
DORNE_API int stackDelete(T_Stack* stack);

/* Copies token onto the top. 0; -1 for a null stack or when memory runs out
   (the token is then not stored). */
DORNE_API int stackPush(T_Stack* stack, T_Token token);

/* Removes the top token and returns it, valid until the next push; null
   when empty. */
DORNE_API T_Token* stackPop(T_Stack* stack);

/* The top token, left in place; null when empty. */
DORNE_API T_Token* stackTop(T_Stack* stack);

/* readPosition = count. 0, -1 for null. */
DORNE_API int stackReset(T_Stack* stack);

/* The token just below readPosition, moving readPosition down by one; the
   stack keeps it. Null when readPosition is 0. */
DORNE_API T_Token* stackPopShadow(T_Stack* stack);

/* Prints one getToken line per token, bottom to top, on standard output. 0. */
DORNE_API int stackPrint(T_Stack* stack);

#endif
