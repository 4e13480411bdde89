// level_bench [--battle] [level files...]: plays the heaviest wave of each level (by
// default every content/levels/mission_*.xml) headless with no towers for 8000 frames
// (the whole wave on the field, its ships walking their paths again and again), and
// reports the CPU time of each frame's physics step and update, and the process's
// peak memory. --battle places one tower of every attack kind beside the paths first
// and counts only the frames in which ships are on the field.
#include <sys/resource.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "LevelRunner.h"
#include "XmlAttributes.h"

namespace fs = std::filesystem;

namespace {

struct Heaviest {
  bool read = false;
  int attackId = -1;
  int ships = 0;
  std::string levelCopy;  // the level with only that attack, as attack 0
};

// The attack with the most ships; the copy of the level keeps only it.
Heaviest findHeaviest(const std::string& path, const std::string& scratch) {
  Heaviest h;
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  if (!reader.load(doc)) return h;
  TiXmlElement* stage = reader.root(doc, "Stage");
  if (!stage) return h;
  h.read = true;
  TiXmlElement* best = nullptr;
  for (TiXmlElement* a = stage->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack")) {
    int ships = 0;
    for (TiXmlElement* w = a->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave"))
      ships += std::max(0, reader.readInt(w, "count", 0));
    if (ships >= h.ships) {
      h.ships = ships;
      h.attackId = reader.readInt(a, "id", -1);
      best = a;
    }
  }
  if (!best) return h;
  for (TiXmlElement* a = stage->FirstChildElement("Attack"); a;) {
    TiXmlElement* next = a->NextSiblingElement("Attack");
    if (a != best) stage->RemoveChild(a);
    a = next;
  }
  best->SetAttribute("id", 0);
  // Ships that complete their path walk again without costing a life, so the whole
  // wave comes onto the field instead of the level ending at the twentieth.
  TiXmlElement force("ForceGameplayType");
  force.SetAttribute("type", "STATION_PART_STATIC");
  stage->InsertEndChild(force);
  h.levelCopy = scratch;
  doc.SaveFile(scratch.c_str());
  return h;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5));
  return v[i];
}

// One tower of each attack kind on the free cells that see most of the paths.
int placeEveryKind(LevelScreen& level) {
  std::vector<std::pair<int, int>> cells;  // (path points within reach, cell)
  for (int cell = 0; cell < static_cast<int>(level.placementGrid().size()); ++cell) {
    if (level.placementGrid()[cell] != 0) continue;
    const float x = 32.0f * (cell % 32) + 16.0f, y = 32.0f * (cell / 32) + 16.0f;
    int seen = 0;
    for (const auto& path : level.paths())
      for (const auto& lane : path.second.points)
        for (const auto& p : lane.second) seen += (p.x - x) * (p.x - x) + (p.y - y) * (p.y - y) < 96.0f * 96.0f;
    cells.push_back({seen, cell});
  }
  std::sort(cells.rbegin(), cells.rend());
  size_t next = 0;
  int placed = 0;
  for (xBaseTowerDesc* kind : level.towerDescriptions()) {
    if (kind->towerType.rfind("TOWER_NAME_T", 0) != 0) continue;
    while (next < cells.size() && level.placementGrid()[cells[next].second] != 0) ++next;
    if (next >= cells.size()) break;
    const int cell = cells[next++].second;
    placed += level.buyTower(cell / 32, kind, cell % 32) ? 1 : 0;
  }
  return placed;
}

}  // namespace

int main(int argc, char** argv) {
  levelrunner::Runner runner;  // enters the repository root
  std::vector<std::string> levels;
  bool battle = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--battle") battle = true;
    else levels.push_back(argv[i]);
  }
  if (levels.empty()) {
    for (const auto& e : fs::directory_iterator("content/levels")) {
      const std::string name = e.path().filename().string();
      if (name.rfind("mission_", 0) == 0 && e.path().extension() == ".xml") levels.push_back(e.path().string());
    }
    std::sort(levels.begin(), levels.end());
  }
  const std::string scratch = (fs::temp_directory_path() / "starmoor-level-bench.xml").string();
  std::printf("| level | attack | ships | frames | mean ms | p95 ms | max ms |\n");
  std::printf("|-------|--------|-------|--------|---------|--------|--------|\n");
  std::vector<double> all;
  for (const std::string& level : levels) {
    const Heaviest h = findHeaviest(level, scratch);
    if (h.levelCopy.empty()) {
      std::printf("| %s | - | - | - | %s | | |\n", fs::path(level).filename().c_str(),
                  h.read ? "no attack" : "not read");
      continue;
    }
    levelrunner::RunOptions o;
    o.levelFile = h.levelCopy;
    o.seed = 1;
    o.script = {{0, "start", {}}};
    o.maxFrames = 8000;
    std::vector<double> cpu;
    o.frameCpuMs = &cpu;
    std::vector<bool> fighting;
    int towers = 0;
    levelrunner::Outcome out;
    if (battle) {
      o.mode = MODE_MAXCREDITS;
      out = runner.run(o, [&](LevelScreen& l, int frame) {
        if (frame == 0) towers = placeEveryKind(l);
        fighting.push_back(l.countLiveEnemies() > 0);
      });
      // Only the frames of the fight: once the wave is destroyed the field is idle.
      std::vector<double> kept;
      for (size_t i = 0; i < cpu.size() && i < fighting.size(); ++i)
        if (fighting[i]) kept.push_back(cpu[i]);
      cpu.swap(kept);
      out.frames = static_cast<int>(cpu.size());
    } else {
      out = runner.run(o);
    }
    const double mean = cpu.empty() ? 0.0 : std::accumulate(cpu.begin(), cpu.end(), 0.0) / cpu.size();
    std::printf("| %s | %d | %d | %d | %.3f | %.3f | %.3f |\n", fs::path(level).filename().c_str(), h.attackId,
                h.ships, out.frames, mean, percentile(cpu, 0.95), cpu.empty() ? 0.0 : *std::max_element(cpu.begin(), cpu.end()));
    if (battle) std::printf("|   %d towers |  |  |  |  |  |  |\n", towers);
    all.insert(all.end(), cpu.begin(), cpu.end());
  }
  std::error_code ec;
  fs::remove(scratch, ec);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  const double mean = all.empty() ? 0.0 : std::accumulate(all.begin(), all.end(), 0.0) / all.size();
  std::printf("\nall frames: %zu, mean %.3f ms, p95 %.3f ms; peak memory %.1f MB\n", all.size(), mean,
              percentile(all, 0.95), usage.ru_maxrss / 1024.0);
  return 0;
}
