// Hash table tests: distinct value pointers and a table freed with its scope.
#ifndef DORNE_HASH_SUPPORT_H
#define DORNE_HASH_SUPPORT_H

#include "dorneHash.h"

namespace support {

inline int dummy[8];
inline void* V(int i)
{
    return &dummy[i];
}

struct Table
{
    HASH_STRUCT* t;
    explicit Table(unsigned expected) : t(mpiHashCreate(expected)) {}
    ~Table() { mpiHashRemove(t); }
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;
    HASH_STRUCT* operator->() const { return t; }
    operator HASH_STRUCT*() const { return t; }
};

} // namespace support

#endif
