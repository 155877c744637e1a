// Token stacks of the expression engine: tokens by value, a read position
// for walking from the top without removing anything.
#include "dorneExpression.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

T_Stack* stackCreate(void)
{
    T_Stack* stack = static_cast<T_Stack*>(std::calloc(1, sizeof(T_Stack)));
    if (stack == nullptr)
        return nullptr;
    stack->capacity = 5;
    stack->items = static_cast<T_Token*>(std::malloc(size_t(stack->capacity) * sizeof(T_Token)));
    if (stack->items == nullptr) {
        std::free(stack);
        return nullptr;
    }
    return stack;
}

int stackDelete(T_Stack* stack)
{
    if (stack != nullptr) {
        std::free(stack->items);
        std::free(stack);
    }
    return 0;
}

int stackPush(T_Stack* stack, T_Token token)
{
    if (stack == nullptr)
        return -1;
    if (stack->count >= stack->capacity) {
        // Doubling: a long formula is built in linear time (growing one slot
        // at a time would copy the stack once per token).
        if (stack->capacity >= INT_MAX / 2)
            return -1;
        const int32_t capacity = stack->capacity > 0 ? 2 * stack->capacity : 5;
        void* grown = std::realloc(stack->items, size_t(capacity) * sizeof(T_Token));
        if (grown == nullptr)
            return -1;
        stack->items = static_cast<T_Token*>(grown);
        stack->capacity = capacity;
    }
    stack->items[stack->count] = token;
    ++stack->count;
    stack->readPosition = stack->count;
    return 0;
}

T_Token* stackPop(T_Stack* stack)
{
    if (stack == nullptr || stack->count <= 0)
        return nullptr;
    --stack->count;
    stack->readPosition = stack->count;
    return &stack->items[stack->count];
}

T_Token* stackTop(T_Stack* stack)
{
    if (stack == nullptr || stack->count <= 0)
        return nullptr;
    return &stack->items[stack->count - 1];
}

int stackReset(T_Stack* stack)
{
    if (stack == nullptr)
        return -1;
    stack->readPosition = stack->count;
    return 0;
}

T_Token* stackPopShadow(T_Stack* stack)
{
    if (stack == nullptr || stack->readPosition <= 0 || stack->readPosition > stack->count)
        return nullptr;
    --stack->readPosition;
    return &stack->items[stack->readPosition];
}

int stackPrint(T_Stack* stack)
{
    if (stack == nullptr)
        return 0;
    for (int32_t i = 0; i < stack->count; ++i) // bottom to top
        std::printf("%s\n", getToken(&stack->items[i]));
    return 0;
}
