// The generic node of the font library's lists and trees.
#include "sartoInternal.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Takes a node out of its parent's children, if it is linked.
void unlink(FNT_DATA_STRUCT* node)
{
    FNT_DATA_STRUCT* parent = node->parent;
    if (node->prev != nullptr)
        node->prev->next = node->next;
    else if (parent != nullptr && parent->child == node)
        parent->child = node->next;
    if (node->next != nullptr)
        node->next->prev = node->prev;
    else if (parent != nullptr && parent->lastChild == node)
        parent->lastChild = node->prev;
    node->parent = node->prev = node->next = nullptr;
}

// Links a node between two adjacent children of the parent (either may be
// null: the list's ends).
void linkBetween(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* prev, FNT_DATA_STRUCT* next, FNT_DATA_STRUCT* node)
{
    node->parent = parent;
    node->prev = prev;
    node->next = next;
    if (prev != nullptr)
        prev->next = node;
    else
        parent->child = node;
    if (next != nullptr)
        next->prev = node;
    else
        parent->lastChild = node;
}

// Links the node before or after the sibling; a null sibling stands for the
// parent's first child. -1 when the sibling is the node itself or another
// parent's child.
int insertBeside(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* sibling, FNT_DATA_STRUCT* node, bool after)
{
    if (parent == nullptr || node == nullptr)
        return -1;
    if (sibling == nullptr)
        sibling = parent->child;
    if (sibling == node || (sibling != nullptr && sibling->parent != parent))
        return -1;
    unlink(node);
    if (sibling == nullptr)
        linkBetween(parent, nullptr, nullptr, node);
    else if (after)
        linkBetween(parent, sibling, sibling->next, node);
    else
        linkBetween(parent, sibling->prev, sibling, node);
    return 0;
}

} // namespace

int ftiDataPayloadSize(int type)
{
    switch (type) {
    case FNT_TYPE_PATH:
        return FNT_PATH_SIZE;
    case FNT_TYPE_FAMILY:
        return static_cast<int>(sizeof(FNT_FAMILY));
    case FNT_TYPE_SOURCE:
        return static_cast<int>(sizeof(FNT_SOURCE));
    case FNT_TYPE_FONT:
        return static_cast<int>(sizeof(FNT_FONT));
    default:
        return -1;
    }
}

FNT_FAMILY* ftiFamily(const FNT_DATA_STRUCT* node)
{
    if (node == nullptr || node->type != FNT_TYPE_FAMILY || node->len < static_cast<int>(sizeof(FNT_FAMILY)))
        return nullptr;
    return static_cast<FNT_FAMILY*>(node->data);
}

FNT_SOURCE* ftiSource(const FNT_DATA_STRUCT* node)
{
    if (node == nullptr || node->type != FNT_TYPE_SOURCE || node->len < static_cast<int>(sizeof(FNT_SOURCE)))
        return nullptr;
    return static_cast<FNT_SOURCE*>(node->data);
}

FNT_DATA_STRUCT* ftDataCreate(int type)
{
    auto* node = static_cast<FNT_DATA_STRUCT*>(std::calloc(1, sizeof(FNT_DATA_STRUCT)));
    if (node == nullptr) {
        std::fputs("sdCreateData: out of memory\n", stderr);
        return nullptr;
    }
    node->type = type;
    const int size = ftiDataPayloadSize(type);
    if (size < 0) {
        std::printf("ftCreateData: Error unknown data type %d\n", type);
        return node;
    }
    node->data = std::calloc(1, static_cast<size_t>(size));
    if (node->data == nullptr) {
        std::free(node);
        std::fputs("sdCreateData: out of memory\n", stderr);
        return nullptr;
    }
    node->len = size;
    return node;
}

int ftDataAppend(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* node)
{
    if (parent == nullptr || node == nullptr)
        return -1;
    unlink(node);
    linkBetween(parent, parent->lastChild, nullptr, node);
    return 0;
}

int ftDataPush(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* node)
{
    if (parent == nullptr || node == nullptr)
        return -1;
    unlink(node);
    linkBetween(parent, nullptr, parent->child, node);
    return 0;
}

int ftDataInsertBefore(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* sibling, FNT_DATA_STRUCT* node)
{
    return insertBeside(parent, sibling, node, false);
}

int ftDataInsertAfter(FNT_DATA_STRUCT* parent, FNT_DATA_STRUCT* sibling, FNT_DATA_STRUCT* node)
{
    return insertBeside(parent, sibling, node, true);
}

int ftDataSwap(FNT_DATA_STRUCT* a, FNT_DATA_STRUCT* b)
{
    if (a == nullptr || b == nullptr)
        return -1;
    if (a->next != b)
        return 0;
    FNT_DATA_STRUCT* parent = a->parent;
    FNT_DATA_STRUCT* before = a->prev;
    FNT_DATA_STRUCT* after = b->next;
    b->prev = before;
    b->next = a;
    a->prev = b;
    a->next = after;
    if (before != nullptr)
        before->next = b;
    else if (parent != nullptr)
        parent->child = b;
    if (after != nullptr)
        after->prev = a;
    else if (parent != nullptr)
        parent->lastChild = a;
    return 0;
}

FNT_DATA_STRUCT* ftDataCopy(const FNT_DATA_STRUCT* node)
{
    if (node == nullptr)
        return nullptr;
    auto* copy = static_cast<FNT_DATA_STRUCT*>(std::calloc(1, sizeof(FNT_DATA_STRUCT)));
    if (copy == nullptr)
        return nullptr;
    copy->type = node->type;
    if (node->data != nullptr && node->len > 0) {
        copy->data = std::malloc(static_cast<size_t>(node->len));
        if (copy->data == nullptr) {
            std::free(copy);
            return nullptr;
        }
        std::memcpy(copy->data, node->data, static_cast<size_t>(node->len));
        copy->len = node->len;
    }
    for (const FNT_DATA_STRUCT* child = node->child; child != nullptr; child = child->next) {
        FNT_DATA_STRUCT* childCopy = ftDataCopy(child);
        if (childCopy == nullptr) {
            ftDataDel(copy);
            return nullptr;
        }
        linkBetween(copy, copy->lastChild, nullptr, childCopy);
    }
    return copy;
}

void ftiDataDelChildren(FNT_DATA_STRUCT* node)
{
    // Each deletion unlinks the first child, so the loop ends.
    while (node->child != nullptr)
        ftDataDel(node->child);
}

int ftDataDel(FNT_DATA_STRUCT* node)
{
    if (node == nullptr)
        return -1;
    ftiDataDelChildren(node);
    unlink(node);
    std::free(node->data);
    std::free(node);
    return 0;
}
