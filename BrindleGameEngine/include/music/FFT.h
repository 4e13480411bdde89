#pragma once

// In-place radix-2 transform of n complex values stored as (real, imaginary)
// pairs from data[1] on; data[0] is not touched. n must be a power of two.
// The exponent's sign is positive.
void fft(double* data, unsigned long n);
