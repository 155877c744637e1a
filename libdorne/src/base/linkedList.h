// The list operations the engine's records share: doubly linked through
// their own next and prev fields, held through the address of the head (an
// empty list is a null head), no tail pointer. Each returns -1 for a null
// head address and 0 otherwise; a null entry changes nothing.
#ifndef DORNE_LINKED_LIST_H
#define DORNE_LINKED_LIST_H

#include <cstdlib>

namespace dorne {

// Links node at the tail (walks the list); its next becomes null.
template <typename T>
int listAppend(T** head, T* node)
{
    if (head == nullptr)
        return -1;
    if (node == nullptr)
        return 0;
    node->next = nullptr;
    node->prev = nullptr;
    if (*head == nullptr) {
        *head = node;
        return 0;
    }
    T* last = *head;
    while (last->next != nullptr)
        last = last->next;
    last->next = node;
    node->prev = last;
    return 0;
}

// Links node between before and after (either may be null) in *head.
template <typename T>
void listLink(T** head, T* node, T* before, T* after)
{
    node->prev = before;
    node->next = after;
    if (before != nullptr)
        before->next = node;
    else
        *head = node;
    if (after != nullptr)
        after->prev = node;
}

// Inserts node after (or before) reference, the head when reference is
// null; into an empty list node becomes the only entry.
template <typename T>
int listInsert(T** head, T* node, T* reference, bool after)
{
    if (head == nullptr)
        return -1;
    if (node == nullptr)
        return 0;
    if (reference == nullptr)
        reference = *head;
    if (reference == nullptr)
        listLink<T>(head, node, nullptr, nullptr);
    else if (after)
        listLink(head, node, reference, reference->next);
    else
        listLink(head, node, reference->prev, reference);
    return 0;
}

template <typename T>
int listInsertBefore(T** head, T* node, T* reference)
{
    return listInsert(head, node, reference, false);
}

template <typename T>
int listInsertAfter(T** head, T* node, T* reference)
{
    return listInsert(head, node, reference, true);
}

// Unlinks node, moving the head on when it was the head; node's own links
// are left as they were. Nothing happens to an empty list.
template <typename T>
int listCut(T** head, T* node)
{
    if (head == nullptr)
        return -1;
    if (node == nullptr || *head == nullptr)
        return 0;
    if (node->prev != nullptr)
        node->prev->next = node->next;
    if (node->next != nullptr)
        node->next->prev = node->prev;
    if (*head == node)
        *head = node->next;
    return 0;
}

// Unlinks node and frees it (it came from malloc or calloc).
template <typename T>
int listDelete(T** head, T* node)
{
    if (head == nullptr)
        return -1;
    if (node != nullptr) {
        listCut(head, node);
        std::free(node);
    }
    return 0;
}

} // namespace dorne

#endif
