#ifndef ORLO_BYTEORDER_H
#define ORLO_BYTEORDER_H

#include <cstdint>

// Record files are big-endian; these helpers turn their values into host
// order. The order is decided once per process (checkEndian) and every
// swap2/4/8 call reverses bytes only on a little-endian host.

void checkEndian();

void swap2(void* p);
void swap4(void* p);
void swap8(void* p);

// Values stored big-endian at p, returned in host order; p is not changed.
int16_t gs(const void* p);
int32_t gi(const void* p);
float gf(const void* p);
double gd(const void* p);

// Store the value big-endian at p.
void ps(int16_t value, void* p);
void pi(int32_t value, void* p);
void pf(float value, void* p);
void pd(double value, void* p);

// Unconditional reversal of n bytes (0..8; anything else does nothing).
void SWAP(void* p, int n);
void SWAP2(void* p);
void SWAP4(void* p);
void SWAP8(void* p);

#endif
