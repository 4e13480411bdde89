// physics_bench [scene ids...]: runs the four scenes on our engine (default and game settings),
// Box2D and Chipmunk, and prints one table row per run.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchReport.h"

namespace bench {
#ifndef BENCH_HAVE_CHIPMUNK
std::unique_ptr<Backend> makeChipmunk() { return nullptr; }
#endif
}  // namespace bench

namespace {

std::string fmt(char const *f, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, f, v);
  return buf;
}

std::string row(std::string const &scene, std::string const &engine, bench::RunResult const &r,
                double box2dMedian) {
  char buf[256];
  std::string ratio = box2dMedian > 0 ? fmt("%.2f", r.medianMs / box2dMedian) : "-";
  std::string rest = r.restSeconds >= 0 ? fmt("%.2f", r.restSeconds) : "never";
  std::string drift = r.hadEnergy ? fmt("%+.2f%%", r.energyDrift * 100.0) : "-";
  std::snprintf(buf, sizeof buf, "| %-11s | %-18s | %9.3f | %9.3f | %7s | %8.1f | %8.2f | %6s | %9s |",
                scene.c_str(), engine.c_str(), r.medianMs, r.p95Ms, ratio.c_str(), r.peakKb / 1024.0,
                r.maxPenetration, rest.c_str(), drift.c_str());
  return buf;
}

}  // namespace

int main(int argc, char **argv) {
  // --profile <scene> [game]: our engine alone, in this process, for a profiler to watch.
  if (argc >= 3 && std::string(argv[1]) == "--profile") {
    bench::Settings s = argc >= 4 ? bench::Settings::Game : bench::Settings::Default;
    bench::RunResult r = bench::runInProcess(0, std::atoi(argv[2]), s);
    std::printf("median %.3f ms, p95 %.3f ms\n", r.medianMs, r.p95Ms);
    return 0;
  }
  // BENCH_REPEATS: runs per engine and scene, the quietest kept (default 3).
  int repeats = 3;
  if (const char *r = std::getenv("BENCH_REPEATS")) repeats = std::max(1, std::atoi(r));
  std::vector<int> scenes;
  for (int i = 1; i < argc; ++i) scenes.push_back(std::atoi(argv[i]));
  if (scenes.empty())
    for (int i = 0; i < bench::kSceneCount; ++i) scenes.push_back(i);

  std::vector<std::string> rows = {
      "| scene       | engine             | median ms | p95 ms    | x Box2D | peak MB  | max pen  | rest s | E drift   |",
      "|-------------|--------------------|-----------|-----------|---------|----------|----------|--------|-----------|"};
  for (int id : scenes) {
    std::string name = bench::makeScene(id).name;
    bench::RunResult box = bench::runIsolated(1, id, bench::Settings::Default, repeats);
    bench::RunResult ours = bench::runIsolated(0, id, bench::Settings::Default, repeats);
    bench::RunResult game = bench::runIsolated(0, id, bench::Settings::Game, repeats);
    bench::RunResult chip = bench::runIsolated(2, id, bench::Settings::Default, repeats);
    double ref = box.ran ? box.medianMs : 0;
    if (ours.ran) rows.push_back(row(name, "Quillon default", ours, ref));
    if (game.ran) rows.push_back(row(name, "Quillon game", game, ref));
    if (box.ran) rows.push_back(row(name, "Box2D 2.4", box, ref));
    if (chip.ran) rows.push_back(row(name, "Chipmunk 7", chip, ref));
    std::fprintf(stderr, "scene %s done\n", name.c_str());
  }
  bench::printTable(rows);
  std::printf("max pen: px of overlap between solid shapes; rest: s until no body moves faster than 2 px/s;\n"
              "E drift: kinetic energy change over the run; peak MB: peak resident set above an idle child.\n");
  return 0;
}
