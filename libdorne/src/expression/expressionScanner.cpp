// The scanner of the expression engine: one token per call, and the names
// of tokens and functions for diagnostics.
#include "dorneExpression.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

namespace {

// 1 for the characters of an identifier: A-Z, a-z, 0-9 and '_' (ASCII only,
// whatever the locale).
int isValidChar(int c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// 0 when text begins with the n characters of word and no identifier
// character follows them.
int checkWord(const char* text, const char* word, size_t n)
{
    if (std::strncmp(text, word, n) != 0)
        return 1;
    return isValidChar(static_cast<unsigned char>(text[n])) ? 1 : 0;
}

struct Word
{
    const char* text;
    int kind;
    int function;
    double value;
};

// Tried in this order: constants, then functions (sinh before sin, atan2
// before atan). The constants are the short decimals formulas were written
// against, not full-precision values.
const Word kWords[] = {
    {"PI", TOKEN_NUMBER, 0, 3.141592653},
    {"E", TOKEN_NUMBER, 0, 2.7182818284},
    {"R2D", TOKEN_NUMBER, 0, 57.29577951},
    {"D2R", TOKEN_NUMBER, 0, 0.017453292520882225}, // the double nearest to 1 / 57.29577951
    {"min", TOKEN_FUNCTION, FUNC_MIN, 0},
    {"max", TOKEN_FUNCTION, FUNC_MAX, 0},
    {"int", TOKEN_FUNCTION, FUNC_FINT, 0},
    {"sinh", TOKEN_FUNCTION, FUNC_SINH, 0},
    {"cosh", TOKEN_FUNCTION, FUNC_COSH, 0},
    {"tanh", TOKEN_FUNCTION, FUNC_TANH, 0},
    {"sin", TOKEN_FUNCTION, FUNC_SIN, 0},
    {"cos", TOKEN_FUNCTION, FUNC_COS, 0},
    {"tan", TOKEN_FUNCTION, FUNC_TAN, 0},
    {"abs", TOKEN_FUNCTION, FUNC_ABS, 0},
    {"asin", TOKEN_FUNCTION, FUNC_ASIN, 0},
    {"acos", TOKEN_FUNCTION, FUNC_ACOS, 0},
    {"atan2", TOKEN_FUNCTION, FUNC_ATAN2, 0},
    {"atan", TOKEN_FUNCTION, FUNC_ATAN, 0},
    {"log", TOKEN_FUNCTION, FUNC_LOG, 0},
    {"sqrt", TOKEN_FUNCTION, FUNC_SQRT, 0},
    {"exp", TOKEN_FUNCTION, FUNC_EXP, 0},
    {"ceil", TOKEN_FUNCTION, FUNC_CEIL, 0},
    {"floor", TOKEN_FUNCTION, FUNC_FLOOR, 0},
    {"pow", TOKEN_FUNCTION, FUNC_POW, 0},
    {"fabs", TOKEN_FUNCTION, FUNC_FABS, 0},
};

struct Symbol
{
    const char* text;
    int kind;
};

// Operators of one or two characters, two-character ones before their
// one-character prefixes. "-" is decided by what came before.
const Symbol kSymbols[] = {
    {"+", TOKEN_PLUS},        {"*", TOKEN_MULT},           {"/", TOKEN_DIV},        {"%", TOKEN_MOD},
    {"^", TOKEN_BIT_EXCL},    {"~", TOKEN_BIT_NOT},        {"(", TOKEN_OPEN},       {")", TOKEN_CLOSE},
    {"?", TOKEN_IF},          {",", TOKEN_COMMA},          {":", TOKEN_IF_THEN},    {"||", TOKEN_LOG_OR},
    {"&&", TOKEN_LOG_AND},    {"&", TOKEN_BIT_AND},        {"|", TOKEN_BIT_OR},     {"==", TOKEN_EQUAL},
    {"!=", TOKEN_NOT_EQUAL},  {">=", TOKEN_GREATER_EQUAL}, {">", TOKEN_GREATER},    {"<=", TOKEN_LESS_EQUAL},
    {"<", TOKEN_LESS},        {"!", TOKEN_LOG_NOT},
};

// Numbers in formulas are written with a decimal point whatever the
// program's locale: they come from view files.
double scanNumber(const char* start, char** end)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(0));
    if (cLocale != locale_t(0))
        return strtod_l(start, end, cLocale);
    return std::strtod(start, end);
}

const char* kindName(int kind)
{
    switch (kind) {
    case TOKEN_NUMBER: return "NUMBER";
    case TOKEN_VARIABLE: return "VARIABLE";
    case TOKEN_OPEN: return "OPEN";
    case TOKEN_CLOSE: return "CLOSE";
    case TOKEN_NONE: return "NONE";
    case TOKEN_DONE: return "DONE";
    case TOKEN_COMMA: return "COMMA";
    case TOKEN_IF: return "IF";
    case TOKEN_IF_THEN: return "IF_THEN";
    case TOKEN_LOG_OR: return "LOG_OR";
    case TOKEN_LOG_AND: return "LOG_AND";
    case TOKEN_BIT_OR: return "BIT_OR";
    case TOKEN_BIT_EXCL: return "BIT_EXCL";
    case TOKEN_BIT_AND: return "BIT_AND";
    case TOKEN_NOT_EQUAL: return "NOT_EQUAL";
    case TOKEN_EQUAL: return "EQUAL";
    case TOKEN_GREATER_EQUAL: return "GREATER_EQUAL";
    case TOKEN_GREATER: return "GREATER";
    case TOKEN_LESS_EQUAL: return "LESS_EQUAL";
    case TOKEN_LESS: return "LESS";
    case TOKEN_MINUS: return "MINUS";
    case TOKEN_PLUS: return "PLUS";
    case TOKEN_MOD: return "MOD";
    case TOKEN_DIV: return "DIV";
    case TOKEN_MULT: return "MULT";
    case TOKEN_NEGATE: return "NEGATE";
    case TOKEN_LOG_NOT: return "LOG_NOT";
    case TOKEN_BIT_NOT: return "BIT_NOT";
    case TOKEN_FUNCTION: return "FUNCTION";
    default: return nullptr;
    }
}

} // namespace

T_Token* scanner(T_Token* token, T_Parser* parser)
{
    if (token == nullptr || parser == nullptr)
        return nullptr;
    token->kind = TOKEN_DONE;
    token->value = 0.0;
    token->function = 0;
    token->name[0] = '\0';
    token->variable = nullptr;

    const char* text = parser->text;
    if (text == nullptr || parser->position < 0)
        return token;
    const char* p = text + parser->position;
    while (*p == ' ' || *p == '\t' || *p == '\n') // bounded by the terminating zero
        ++p;
    parser->position = int32_t(p - text);
    if (*p == '\0')
        return token;

    const unsigned char c = static_cast<unsigned char>(*p);
    const char* next = p + 1;
    if (c == '-') {
        const int before = parser->current.kind;
        token->kind = (before == TOKEN_NUMBER || before == TOKEN_VARIABLE || before == TOKEN_CLOSE) ? TOKEN_MINUS
                                                                                                    : TOKEN_NEGATE;
    } else if (c >= '0' && c <= '9') {
        char* end = nullptr;
        token->kind = TOKEN_NUMBER;
        token->value = scanNumber(p, &end);
        if (end != nullptr && end > p)
            next = end;
    } else {
        token->kind = TOKEN_NONE;
        for (const Symbol& s : kSymbols) {
            const size_t n = std::strlen(s.text);
            if (std::strncmp(p, s.text, n) == 0) {
                token->kind = s.kind;
                next = p + n;
                break;
            }
        }
        if (token->kind == TOKEN_NONE) {
            for (const Word& w : kWords) {
                const size_t n = std::strlen(w.text);
                if (checkWord(p, w.text, n) == 0) {
                    token->kind = w.kind;
                    token->function = w.function;
                    token->value = w.value;
                    next = p + n;
                    break;
                }
            }
        }
        if (token->kind == TOKEN_NONE && isValidChar(c)) {
            // An identifier keeps its first 255 characters; the rest of it is
            // consumed with it.
            token->kind = TOKEN_VARIABLE;
            size_t n = 0;
            const char* q = p;
            for (; isValidChar(static_cast<unsigned char>(*q)); ++q) // bounded by the terminating zero
                if (n < sizeof token->name - 1)
                    token->name[n++] = *q;
            token->name[n] = '\0';
            next = q;
        }
    }
    parser->position = int32_t(next - text);
    return token;
}

const char* getFunction(int id)
{
    switch (id) {
    case FUNC_SIN: return "SIN";
    case FUNC_COS: return "COS";
    case FUNC_TAN: return "TAN";
    case FUNC_LOG: return "LOG";
    case FUNC_ABS: return "ABS";
    case FUNC_ASIN: return "ASIN";
    case FUNC_ACOS: return "ACOS";
    case FUNC_ATAN: return "ATAN";
    case FUNC_LOG10: return "LOG10";
    case FUNC_SQRT: return "SQRT";
    case FUNC_EXP: return "EXP";
    case FUNC_CEIL: return "CEIL";
    case FUNC_FLOOR: return "FLOOR";
    case FUNC_SINH: return "SINH";
    case FUNC_COSH: return "COSH";
    case FUNC_TANH: return "TANH";
    case FUNC_ATAN2: return "ATAN2";
    case FUNC_POW: return "POW";
    case FUNC_FABS: return "FABS";
    case FUNC_MIN: return "MIN";
    case FUNC_MAX: return "MAX";
    case FUNC_FINT: return "FINT";
    default: return "Unknown";
    }
}

const char* getToken(const T_Token* token)
{
    // Per thread, so that two views' data threads never share it.
    static thread_local char buffer[512];
    if (token == nullptr)
        return "Unknown";
    switch (token->kind) {
    case TOKEN_NUMBER:
        std::snprintf(buffer, sizeof buffer, "Token NUMBER %.2f", token->value);
        return buffer;
    case TOKEN_VARIABLE:
        std::snprintf(buffer, sizeof buffer, "Token VARIABLE %.255s", token->name);
        return buffer;
    case TOKEN_FUNCTION:
        std::snprintf(buffer, sizeof buffer, "Token FUNCTION %s", getFunction(token->function));
        return buffer;
    default:
        break;
    }
    const char* name = kindName(token->kind);
    if (name == nullptr)
        return "Unknown";
    std::snprintf(buffer, sizeof buffer, "Token %s", name);
    return buffer;
}
