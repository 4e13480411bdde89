#pragma once

// Maps elapsed time over a duration to a progress value: 0 at the start, 1 at
// the end, above 1 past it.
typedef double (*TinyActionOperatorFunction)(float elapsed, float duration, float factor);

double linearOperatorFunction(float elapsed, float duration, float factor);
double exponentialOperatorFunction(float elapsed, float duration, float factor);
double logarithmicOperatorFunction(float elapsed, float duration, float factor);
