#include "BenchReport.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bench {
namespace {

constexpr float kRestSpeed = 2.0f;  // px/s

std::unique_ptr<Backend> makeEngine(int engine) {
  switch (engine) {
    case 0: return makeQuillon();
    case 1: return makeBox2D();
    default: return makeChipmunk();
  }
}

}  // namespace

RunResult runInProcess(int engine, int sceneId, Settings settings) {
  RunResult r;
  std::unique_ptr<Backend> b = makeEngine(engine);
  Scene scene = makeScene(sceneId);
  // BENCH_STEPS shortens runs, for slow tools such as an instruction-counting profiler.
  if (const char *steps = std::getenv("BENCH_STEPS")) scene.steps = std::max(1, std::min(scene.steps, std::atoi(steps)));
  if (!b || !b->build(scene, settings)) return r;
  r.ran = true;
  std::vector<double> times;
  times.reserve(scene.steps);
  double e0 = b->kineticEnergy();
  int lastMoving = 0;
  for (int i = 0; i < scene.steps; ++i) {
    b->drive(scene, i * kFrameSeconds);
    auto t0 = std::chrono::steady_clock::now();
    b->step();
    auto t1 = std::chrono::steady_clock::now();
    times.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    // The pyramid settles from the start; elsewhere penetration is read once things have landed.
    r.maxPenetration = std::max(r.maxPenetration, b->maxPenetration());
    if (b->maxSpeed() >= kRestSpeed) lastMoving = i + 1;
  }
  double e1 = b->kineticEnergy();
  r.medianMs = percentile(times, 0.5);
  r.p95Ms = percentile(times, 0.95);
  r.restSeconds = lastMoving < scene.steps ? lastMoving * kFrameSeconds : -1.0f;
  r.hadEnergy = e0 > 0;
  r.energyDrift = e0 > 0 ? (e1 - e0) / e0 : 0.0;
  return r;
}

namespace {

long childPeakKb(bool work, int engine, int sceneId, Settings settings, RunResult *out) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    RunResult r;
    if (work) r = runInProcess(engine, sceneId, settings);
    ssize_t n = write(fds[1], &r, sizeof r);
    _exit(n == (ssize_t)sizeof r ? 0 : 1);
  }
  close(fds[1]);
  RunResult r;
  ssize_t got = read(fds[0], &r, sizeof r);
  close(fds[0]);
  int status = 0;
  struct rusage ru;
  std::memset(&ru, 0, sizeof ru);
  wait4(pid, &status, 0, &ru);
  if (got != (ssize_t)sizeof r) r = RunResult();
  if (out) *out = r;
  return ru.ru_maxrss;
}

}  // namespace

double percentile(std::vector<double> samples, double p) {
  if (samples.empty()) return 0;
  std::sort(samples.begin(), samples.end());
  size_t rank = (size_t)std::ceil(p * samples.size());
  if (rank < 1) rank = 1;
  if (rank > samples.size()) rank = samples.size();
  return samples[rank - 1];
}

RunResult runIsolated(int engine, int sceneId, Settings settings, int repeats) {
  long idle = childPeakKb(false, engine, sceneId, settings, nullptr);
  RunResult best;
  // On a shared machine a run can land in a busy moment: the quietest of a few runs is kept.
  // The runs are deterministic, so the quality figures are the same in each.
  for (int i = 0; i < std::max(1, repeats); ++i) {
    RunResult r;
    long peak = childPeakKb(true, engine, sceneId, settings, &r);
    r.peakKb = std::max(0L, peak - idle);
    if (i == 0 || (r.ran && r.medianMs < best.medianMs)) best = r;
  }
  return best;
}

void printTable(std::vector<std::string> const &rows) {
  for (auto const &row : rows) std::printf("%s\n", row.c_str());
  std::fflush(stdout);
}

}  // namespace bench
