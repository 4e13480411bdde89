#pragma once
#include <string>
#include <vector>

#include "Backend.h"

namespace bench {

struct RunResult {
  bool ran = false;
  double medianMs = 0, p95Ms = 0;
  long peakKb = 0;          // peak resident set of the run above an idle child's
  float maxPenetration = 0; // px over the whole run
  float restSeconds = -1;   // scene time after which nothing moved faster than the rest speed; -1 never
  double energyDrift = 0;   // (E_end - E_start) / E_start
  bool hadEnergy = false;   // false when the scene starts at rest (no drift to speak of)
};

// Percentile of an unsorted sample (nearest rank).
double percentile(std::vector<double> samples, double p);

// Runs one backend on one scene here.
RunResult runInProcess(int engine, int sceneId, Settings settings);
// Runs one backend on one scene in a child process so peak memory is its own; with repeats > 1
// the run with the lowest median step time is kept.
RunResult runIsolated(int engine, int sceneId, Settings settings, int repeats = 1);

void printTable(std::vector<std::string> const &rows);

}  // namespace bench
