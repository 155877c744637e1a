// Internal: the largest size a hash table may take. The white-box tests lower
// it so that a table which can no longer grow stays small enough to fill.
#ifndef DORNE_HASH_LIMIT_H
#define DORNE_HASH_LIMIT_H

// No table takes a size above slots (creation returns null and growth stops
// there, as at the end of the prime table); 0 lifts the limit. Returns the
// previous limit. Affects every table of the process.
unsigned mpiHashLimitSize(unsigned slots);

#endif
