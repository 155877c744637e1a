// The expression engine: parse builds the postfix form with an
// operator-precedence pass; evaluate runs a program compiled from it.
#include "dorneExpression.h"
#include "data/dataValue.h"
#include "expression/expressionInternal.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
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

// The integer operators work on operands truncated toward zero to 32-bit
// integers and held within that range (NaN gives 0, a value beyond it the
// nearest end).
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

// ---- Evaluation ----------------------------------------------------------
//
// The first evaluation compiles the subexpression at the top of the output
// stack into a program kept with the parser: one value slot per token, the
// variable tokens in the order they are read, and one step per operator,
// bottom up, naming the slots of its operands. Every evaluation then calls
// the read function for the variable tokens from the top of the stack down
// (the order of a recursive walk from the top: a right operand before the
// left one, the else and then branches before the condition, a function's
// second argument before its first) and runs the steps. Only the reads can
// be seen from outside, so reading first and computing afterwards gives the
// values and the calls of that walk, without recursion however deeply a
// formula nests and without allocating after the first evaluation; and a
// conditional need only compute the branch it chooses.

// Step codes: operator kinds from TOKEN_IF on, then one per function id,
// each in three forms: all operands from their slots, the first or the last
// one from the previous step's result, kept in a register (through its slot
// it would wait for the store).
const int32_t kFunctionOps = TOKEN_FUNCTION - TOKEN_IF;
const int32_t kCodeMask = 63;
const int32_t kLeftFromLast = 64;
const int32_t kRightFromLast = 128;
// Jumps of a conditional: to step b when slot a is 0, when it is not 0, always.
const int32_t kJumpIfZero = 60;
const int32_t kJumpUnlessZero = 61;
const int32_t kJump = 62;
const int32_t kEnd = 63; // after the last step

int32_t opcodeOf(const T_Token& t)
{
    return t.kind == TOKEN_FUNCTION ? kFunctionOps + (t.function - FUNC_SIN) : t.kind - TOKEN_IF;
}

// One operator: its code, the slot it writes and its operands' slots, left
// first (slot 0 holds the 0 of an operand that ran out). A jump tests slot
// a and goes to step b.
struct Step
{
    int32_t op;
    int32_t result;
    int32_t a;
    int32_t b;
    int32_t c;
};

// A variable token and the slot its value goes to.
struct Read
{
    T_Token* token;
    int32_t slot;
};

const uint32_t kProgramMagic = 0x50524f47u;

// Kept in the variable field of the parser's current token, which names no
// variable after parse (its token is DONE). Made for one state of the output
// stack: a push or pop moves the read position to the count, where an
// evaluation leaves it lower, and the next evaluation compiles anew.
struct Program
{
    uint32_t magic;
    int32_t count;        // the output's count, items and address when compiled
    const T_Token* items;
    const T_Stack* output;
    int32_t start;        // lowest token of the subexpression: the read position afterwards
    int32_t result;       // slot of the value
    int32_t reads;
    int32_t steps;
    double* slots;        // tokens start .. count - 1 in 1 .. count - start
    Read* read;           // top first
    Step* step;           // bottom first
};

Program* programOf(const T_Parser* parser)
{
    Program* p = static_cast<Program*>(parser->current.variable);
    return p != nullptr && p->magic == kProgramMagic ? p : nullptr;
}

[[gnu::noinline]] void releaseProgram(T_Parser* parser)
{
    if (Program* p = programOf(parser)) {
        p->magic = 0;
        std::free(p);
    }
    parser->current.variable = nullptr;
}

// A conditional whose branches compute something: only the chosen branch
// needs computing (its values are all that is used; the variables of both
// have been read by then). Step indices before the jumps are inserted.
struct Branch
{
    int32_t ifStep;
    int32_t thenBegin; // first step of the then branch
    int32_t elseBegin; // first step of the else branch; ifStep ends it
    int32_t condition; // slot
};

// Inserts the jumps of the branches before the steps they skip: where the
// then branch begins, past it when the condition is 0; where the else
// branch begins, past it (to the "?") when the then branch ran, or when the
// condition is not 0 and there is no then branch to skip. At one place the
// jumps of an enclosing conditional (a later "?") come first.
bool insertJumps(Program* p, Branch* branches, int32_t count)
{
    struct Jump
    {
        int32_t at;     // original step it goes before
        int32_t branch; // index into branches
        int32_t op;
    };
    std::unique_ptr<Jump[]> jumps(new (std::nothrow) Jump[size_t(count) * 2]);
    std::unique_ptr<Step[]> steps(new (std::nothrow) Step[size_t(p->steps) + size_t(count) * 2]);
    std::unique_ptr<int32_t[]> moved(new (std::nothrow) int32_t[size_t(p->steps) + 1]);
    if (jumps == nullptr || steps == nullptr || moved == nullptr)
        return false;
    int32_t n = 0;
    for (int32_t k = 0; k < count; ++k) {
        const Branch& b = branches[k];
        if (b.thenBegin < b.elseBegin) {
            jumps[n++] = Jump{b.thenBegin, k, kJumpIfZero};
            if (b.elseBegin < b.ifStep)
                jumps[n++] = Jump{b.elseBegin, k, kJump};
        } else {
            jumps[n++] = Jump{b.elseBegin, k, kJumpUnlessZero};
        }
    }
    std::sort(jumps.get(), jumps.get() + n, [branches](const Jump& x, const Jump& y) {
        return x.at != y.at ? x.at < y.at : branches[x.branch].ifStep > branches[y.branch].ifStep;
    });
    // Copied with the jumps in place; a jump's target is fixed up below.
    int32_t out = 0;
    int32_t j = 0;
    std::unique_ptr<int32_t[]> placed(new (std::nothrow) int32_t[size_t(n) + 1]);
    std::unique_ptr<int32_t[]> thenEnds(new (std::nothrow) int32_t[size_t(count)]); // where each kJump went
    if (placed == nullptr || thenEnds == nullptr)
        return false;
    for (int32_t i = 0; i <= p->steps; ++i) { // once per step, and once more for jumps at the end
        for (; j < n && jumps[j].at == i; ++j) {
            placed[j] = out;
            if (jumps[j].op == kJump)
                thenEnds[jumps[j].branch] = out;
            steps[out++] = Step{jumps[j].op, 0, branches[jumps[j].branch].condition, 0, 0};
        }
        moved[i] = out;
        if (i < p->steps)
            steps[out++] = p->step[i];
    }
    for (int32_t k = 0; k < n; ++k) { // once per jump
        Step& jump = steps[placed[k]];
        const Branch& b = branches[jumps[k].branch];
        jump.b = moved[b.ifStep];
        if (jump.op == kJumpIfZero && b.elseBegin < b.ifStep) // into the else branch, past the then branch's end
            jump.b = thenEnds[jumps[k].branch] + 1;
    }
    std::copy(steps.get(), steps.get() + out, p->step);
    p->steps = out;
    return true;
}

// The program of the subexpression whose root is the output's top token;
// null when memory runs out. Kept out of line: evaluations run what it made.
[[gnu::noinline]] Program* compile(T_Stack* output)
{
    // The subexpression is the contiguous run of tokens below the top that
    // its operators take, found by counting operands downwards; an operator
    // whose operands run out takes 0 for the missing ones, the left-most first.
    const int32_t top = output->count > 0 ? output->count : 0;
    int32_t start = top;
    int32_t conditionals = 0;
    for (int64_t needed = 1; needed > 0 && start > 0;) { // each step takes one token below
        needed += operandCount(output->items[--start]) - 1;
        conditionals += output->items[start].kind == TOKEN_IF ? 1 : 0;
    }
    const size_t tokens = size_t(top - start);
    const size_t steps = tokens + 2 * size_t(conditionals) + 1; // two jumps at most per conditional, the end
    const size_t bytes =
        sizeof(Program) + (tokens + 1) * sizeof(double) + tokens * sizeof(Read) + steps * sizeof(Step);
    Program* p = static_cast<Program*>(std::malloc(bytes));
    // Per pending operand: its slot and the first step that computes it.
    std::unique_ptr<int32_t[]> values(new (std::nothrow) int32_t[tokens + 1]);
    std::unique_ptr<int32_t[]> begins(new (std::nothrow) int32_t[tokens + 1]);
    std::unique_ptr<Branch[]> branches(new (std::nothrow) Branch[size_t(conditionals) + 1]);
    std::unique_ptr<int32_t[]> calls(new (std::nothrow) int32_t[tokens + 1]); // function steps before each step
    if (p == nullptr || values == nullptr || begins == nullptr || branches == nullptr || calls == nullptr) {
        std::free(p);
        return nullptr;
    }
    p->magic = kProgramMagic;
    p->count = output->count;
    p->items = output->items;
    p->output = output;
    p->start = start;
    p->slots = reinterpret_cast<double*>(p + 1);
    p->read = reinterpret_cast<Read*>(p->slots + tokens + 1);
    p->step = reinterpret_cast<Step*>(p->read + tokens);
    p->slots[0] = 0.0;
    p->steps = 0;
    int32_t depth = 0;
    int32_t last = 0; // the previous step's slot
    int32_t lazy = 0;
    calls[0] = 0;
    for (int32_t i = start; i < top; ++i) { // once per token of the subexpression
        const T_Token& t = output->items[i];
        const int32_t slot = i - start + 1;
        // Numbers keep their value; what is no operator and no operand (an
        // unclosed "(", a stray character, an unassigned function) is 0.
        p->slots[slot] = t.kind == TOKEN_NUMBER ? t.value : 0.0;
        const int n = operandCount(t);
        int32_t begin = p->steps;
        if (n > 0) {
            int32_t operands[3] = {0, 0, 0};
            int32_t operandBegins[3] = {begin, begin, begin};
            const int taken = n < depth ? n : depth;
            for (int k = 0; k < taken; ++k) { // missing operands stay 0 at the left
                operands[n - 1 - k] = values[size_t(depth - 1 - k)];
                operandBegins[n - 1 - k] = begins[size_t(depth - 1 - k)];
            }
            depth -= taken;
            if (taken > 0)
                begin = operandBegins[n - taken];
            int32_t op = opcodeOf(t);
            if (t.kind == TOKEN_IF) {
                // Worth its jumps when the branches call a function or take
                // more than two steps. After a jump the previous step is not
                // the one before: the "?" reads its operands from their slots.
                if (taken == 3 && (p->steps - operandBegins[1] > 2 || calls[p->steps] > calls[operandBegins[1]]))
                    branches[lazy++] = Branch{p->steps, operandBegins[1], operandBegins[2], operands[0]};
            } else if (last > 0 && operands[0] == last) {
                op += kLeftFromLast;
            } else if (last > 0 && operands[n - 1] == last) {
                op += kRightFromLast;
            }
            calls[p->steps + 1] = calls[p->steps] + (t.kind == TOKEN_FUNCTION ? 1 : 0);
            p->step[p->steps++] = Step{op, slot, operands[0], operands[1], operands[2]};
            last = slot;
        }
        values[size_t(depth)] = slot;
        begins[size_t(depth++)] = begin;
    }
    p->result = depth > 0 ? values[size_t(depth - 1)] : 0;
    p->reads = 0;
    for (int32_t i = top; i-- > start;) // top first
        if (output->items[i].kind == TOKEN_VARIABLE)
            p->read[p->reads++] = Read{&output->items[i], i - start + 1};
    if (lazy > 0 && !insertJumps(p, branches.get(), lazy)) {
        std::free(p);
        return nullptr;
    }
    p->step[p->steps] = Step{kEnd, 0, 0, 0, 0};
    return p;
}

// Apart, so that what the loop keeps across the calls stays in registers.
[[gnu::noinline]] void readVariables(const Read* r, const Read* end, double* s, T_ReadFunction read, void* data)
{
    for (; r != end; ++r) // once per variable token
        s[r->slot] = read(data, r->token, r->token->name);
}

double run(const Program* p, T_Parser* parser)
{
    double* s = p->slots;
    if (parser->read != nullptr) {
        readVariables(p->read, p->read + p->reads, s, parser->read, parser->readData);
    } else {
        for (const Read *r = p->read, *end = r + p->reads; r != end; ++r) // once per variable token
            s[r->slot] = 1.0;
    }
    // Threaded: each handler dispatches the next step itself, through a table
    // indexed by the step code.
#define DORNE_G &&other
#define DORNE_G8 DORNE_G, DORNE_G, DORNE_G, DORNE_G, DORNE_G, DORNE_G, DORNE_G, DORNE_G
#define DORNE_ROW(form, ...)                                                                                  \
    &&conditional##form, DORNE_G, DORNE_G, DORNE_G, DORNE_G, DORNE_G, DORNE_G, &&ne##form, &&eq##form,        \
        &&ge##form, &&gt##form, &&le##form, &&lt##form, &&minus##form, &&plus##form, DORNE_G, &&div##form,    \
        &&mult##form, &&negate##form, DORNE_G, DORNE_G, &&sin##form, &&cos##form, &&tan##form, &&log##form,   \
        &&abs##form, &&asin##form, &&acos##form, &&atan##form, &&log10##form, &&sqrt##form, &&exp##form,      \
        &&ceil##form, &&floor##form, DORNE_G, &&sinh##form, &&cosh##form, &&tanh##form, &&atan2##form,        \
        &&pow##form, &&fabs##form, &&min##form, &&max##form, &&fint##form, DORNE_G8, DORNE_G8, __VA_ARGS__
    static const void* const table[3 * 64] = {
        DORNE_ROW(, &&jumpIfZero, &&jumpUnlessZero, &&jump, &&end),
        DORNE_ROW(Left, DORNE_G, DORNE_G, DORNE_G, DORNE_G),
        DORNE_ROW(Right, DORNE_G, DORNE_G, DORNE_G, DORNE_G),
    };
#undef DORNE_ROW
#undef DORNE_G8
#undef DORNE_G
    static_assert(kFunctionOps == 21 && FUNC_FINT - FUNC_SIN == 22 && kJumpIfZero == 60 && kEnd == 63 &&
                      kLeftFromLast == 64 && kRightFromLast == 128 && TOKEN_NOT_EQUAL - TOKEN_IF == 7 &&
                      TOKEN_MULT - TOKEN_IF == 17,
                  "the dispatch table follows the step codes");
    const Step* st = p->step;
    double last = 0.0; // the previous step's result
#define DORNE_NEXT()                                                                                          \
    s[st->result] = last;                                                                                     \
    ++st;                                                                                                     \
    goto* table[st->op]
#define DORNE_FORMS(name, value)                                                                              \
    name : {                                                                                                  \
        const double a = s[st->a], b = s[st->b];                                                              \
        last = (value);                                                                                       \
        static_cast<void>(b);                                                                                 \
        DORNE_NEXT();                                                                                         \
    }                                                                                                         \
    name##Left : {                                                                                            \
        const double a = last, b = s[st->b];                                                                  \
        last = (value);                                                                                       \
        static_cast<void>(b);                                                                                 \
        DORNE_NEXT();                                                                                         \
    }                                                                                                         \
    name##Right : {                                                                                           \
        const double a = s[st->a], b = last;                                                                  \
        last = (value);                                                                                       \
        static_cast<void>(b);                                                                                 \
        DORNE_NEXT();                                                                                         \
    }
    goto* table[st->op];
    DORNE_FORMS(minus, a - b)
    DORNE_FORMS(plus, a + b)
    DORNE_FORMS(mult, a * b)
    DORNE_FORMS(div, a / b)
    DORNE_FORMS(lt, truthOf(a < b))
    DORNE_FORMS(le, truthOf(a <= b))
    DORNE_FORMS(gt, truthOf(a > b))
    DORNE_FORMS(ge, truthOf(a >= b))
    DORNE_FORMS(eq, truthOf(a == b))
    DORNE_FORMS(ne, truthOf(a != b))
    DORNE_FORMS(negate, -a)
    DORNE_FORMS(sin, function(FUNC_SIN, a, b))
    DORNE_FORMS(cos, function(FUNC_COS, a, b))
    DORNE_FORMS(tan, function(FUNC_TAN, a, b))
    DORNE_FORMS(log, function(FUNC_LOG, a, b))
    DORNE_FORMS(abs, function(FUNC_ABS, a, b))
    DORNE_FORMS(asin, function(FUNC_ASIN, a, b))
    DORNE_FORMS(acos, function(FUNC_ACOS, a, b))
    DORNE_FORMS(atan, function(FUNC_ATAN, a, b))
    DORNE_FORMS(log10, function(FUNC_LOG10, a, b))
    DORNE_FORMS(sqrt, function(FUNC_SQRT, a, b))
    DORNE_FORMS(exp, function(FUNC_EXP, a, b))
    DORNE_FORMS(ceil, function(FUNC_CEIL, a, b))
    DORNE_FORMS(floor, function(FUNC_FLOOR, a, b))
    DORNE_FORMS(sinh, function(FUNC_SINH, a, b))
    DORNE_FORMS(cosh, function(FUNC_COSH, a, b))
    DORNE_FORMS(tanh, function(FUNC_TANH, a, b))
    DORNE_FORMS(atan2, function(FUNC_ATAN2, a, b))
    DORNE_FORMS(pow, function(FUNC_POW, a, b))
    DORNE_FORMS(fabs, function(FUNC_FABS, a, b))
    DORNE_FORMS(min, function(FUNC_MIN, a, b))
    DORNE_FORMS(max, function(FUNC_MAX, a, b))
    DORNE_FORMS(fint, function(FUNC_FINT, a, b))
    // The "?" never takes an operand from the register (see compile): only
    // the chosen branch has been computed; NaN counts as non-zero.
    DORNE_FORMS(conditional, a != 0.0 ? b : s[st->c])
#undef DORNE_FORMS
jumpIfZero:
    st = s[st->a] == 0.0 ? p->step + st->b : st + 1;
    goto* table[st->op];
jumpUnlessZero:
    st = !(s[st->a] == 0.0) ? p->step + st->b : st + 1; // NaN counts as non-zero
    goto* table[st->op];
jump:
    st = p->step + st->b;
    goto* table[st->op];
other : {
    // The integer and logical operators.
    const int32_t code = st->op & kCodeMask;
    const double a = (st->op & kLeftFromLast) != 0 ? last : s[st->a];
    const double b = (st->op & kRightFromLast) != 0 ? last : s[st->b];
    if (code == TOKEN_LOG_NOT - TOKEN_IF)
        last = truthOf(a == 0.0);
    else if (code == TOKEN_BIT_NOT - TOKEN_IF)
        last = double(~dorne::truncateInt32(a));
    else
        last = infix(code + TOKEN_IF, a, b);
    DORNE_NEXT();
}
#undef DORNE_NEXT
end:
    parser->output->readPosition = p->start;
    return s[p->result];
}

// Evaluates the subexpression whose root is the output's top token and
// moves the read position below it; 0 when there is none.
double pop(T_Parser* parser)
{
    T_Stack* output = parser->output;
    Program* p = programOf(parser);
    if (p == nullptr || p->output != output || p->items != output->items || p->count != output->count ||
        p->start != output->readPosition) {
        releaseProgram(parser);
        p = compile(output);
        if (p == nullptr)
            return 0.0;
        parser->current.variable = p;
    }
    return run(p, parser);
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
    return pop(parser);
}

int cleanup(T_Parser* parser)
{
    if (parser == nullptr)
        return 0;
    releaseProgram(parser);
    stackDelete(parser->output);
    parser->output = nullptr;
    return 0;
}

double operator_if(double condition, double a, double b)
{
    return condition == 0.0 ? b : a;
}
