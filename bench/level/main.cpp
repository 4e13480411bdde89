// level_bench [--battle] [--render] [--worst] [level files...]: plays the heaviest wave
// (the attack with the most ships) of each level (by default every
// content/levels/mission_*.xml; "file.xml:N" takes attack N) headless for 8000 frames (the
// whole wave on the field, its ships walking their paths again and again), and reports
// the CPU time of each frame's physics step and update, and the process's peak memory.
// --worst adds the campaign's heaviest attack by ships and its heaviest by energy.
// --battle places one tower of every kind the level offers beside the paths first (attack
// kinds, support units, a drone-station pair with a beacon) and counts only the frames in
// which ships are on the field. With --render every frame is also drawn (field, entities,
// bridge and heads-up display), and the drawing's wall time up to a finished GL pipeline
// and its CPU time are reported too.
// level_bench --stress [--ships 50,200,500,1000] [--towers 0,20,60,120] [--frames 300]
// [--level file]: crowds the level's field (by default mission_44's) for each cell of
// ships x towers; see Stress.h.
#include <sys/resource.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numeric>
#include <string>
#include <vector>

#include "LevelCopy.h"
#include "LevelRunner.h"
#include "Stress.h"
#include "Towers.h"
#include "XmlAttributes.h"

namespace fs = std::filesystem;

namespace {

// A battle's frames at most (ten minutes of play), should a ship never be destroyed.
constexpr int kBattleFrameLimit = 37500;

struct Heaviest {
  bool read = false;
  int attackId = -1;
  int ships = 0;
  long energy = 0;        // the attack's ships' energy summed, as their files give it
  std::string levelCopy;  // the level with only that attack, as attack 0
};

// The energy one ship of the entity file carries (its class's file, read once).
long shipEnergy(const std::string& file) {
  static std::map<std::string, long> known;
  auto it = known.find(file);
  if (it != known.end()) return it->second;
  bge::XmlReader reader(file);
  TiXmlDocument doc;
  long energy = 0;
  if (reader.load(doc))
    if (TiXmlElement* e = reader.root(doc, "Entity")) energy = reader.readInt(e, "energy", 0, 0);
  known[file] = energy;
  return energy;
}

// Ships and energy of one attack element.
std::pair<int, long> attackWeight(const bge::XmlReader& reader, TiXmlElement* attack) {
  int ships = 0;
  long energy = 0;
  for (TiXmlElement* w = attack->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave")) {
    const int count = reader.readInt(w, "count", 0, 0);
    ships += count;
    energy += count * shipEnergy(reader.readString(w, "enemy", ""));
  }
  return {ships, energy};
}

// The attack `wanted` (or, with -1, the one with the most ships, the most energy
// breaking ties); the copy of the level keeps only it.
Heaviest findHeaviest(const std::string& path, int wanted, const std::string& scratch) {
  Heaviest h;
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  if (!reader.load(doc)) return h;
  TiXmlElement* stage = reader.root(doc, "Stage");
  if (!stage) return h;
  h.read = true;
  TiXmlElement* best = nullptr;
  for (TiXmlElement* a = stage->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack")) {
    const auto [ships, energy] = attackWeight(reader, a);
    const int id = reader.readInt(a, "id", -1);
    const bool heavier = std::make_pair(long(ships), energy) >= std::make_pair(long(h.ships), h.energy);
    if (wanted >= 0 ? id == wanted : heavier) {
      h.ships = ships;
      h.energy = energy;
      h.attackId = id;
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
  levelbench::keepShipsWalking(reader, stage);
  h.levelCopy = scratch;
  doc.SaveFile(scratch.c_str());
  return h;
}

// A level file to measure, with the attack to take (-1: its heaviest by ships).
struct Target {
  std::string level;
  int attack = -1;
};

// "mission_07.xml:3" names attack 3 of the level.
Target parseTarget(const std::string& arg) {
  Target t{arg, -1};
  const size_t colon = arg.rfind(':');
  if (colon != std::string::npos && colon + 1 < arg.size() &&
      arg.find_first_not_of("0123456789", colon + 1) == std::string::npos) {
    t.level = arg.substr(0, colon);
    t.attack = std::stoi(arg.substr(colon + 1));
  }
  return t;
}

std::vector<std::string> shippedLevels() {
  std::vector<std::string> levels;
  for (const auto& e : fs::directory_iterator("content/levels")) {
    const std::string name = e.path().filename().string();
    if (name.rfind("mission_", 0) == 0 && e.path().extension() == ".xml") levels.push_back(e.path().string());
  }
  std::sort(levels.begin(), levels.end());
  return levels;
}

// The campaign's heaviest attack by ships and its heaviest by energy (one target
// when they are the same attack).
std::vector<Target> campaignWorst() {
  std::pair<std::pair<long, long>, Target> byShips{{-1, -1}, {}}, byEnergy{{-1, -1}, {}};
  for (const std::string& level : shippedLevels()) {
    bge::XmlReader reader(level);
    TiXmlDocument doc;
    if (!reader.load(doc)) continue;
    TiXmlElement* stage = reader.root(doc, "Stage");
    for (TiXmlElement* a = stage ? stage->FirstChildElement("Attack") : nullptr; a; a = a->NextSiblingElement("Attack")) {
      const auto [ships, energy] = attackWeight(reader, a);
      const Target t{level, reader.readInt(a, "id", -1)};
      // Later missions win ties: they carry the harder station layouts.
      if (std::make_pair(long(ships), energy) >= byShips.first) byShips = {{ships, energy}, t};
      if (std::make_pair(energy, long(ships)) >= byEnergy.first) byEnergy = {{energy, ships}, t};
    }
  }
  std::vector<Target> worst;
  if (byShips.second.attack >= 0) worst.push_back(byShips.second);
  if (byEnergy.second.attack >= 0 &&
      (byEnergy.second.level != byShips.second.level || byEnergy.second.attack != byShips.second.attack))
    worst.push_back(byEnergy.second);
  return worst;
}

double meanOf(const std::vector<double>& v) {
  return v.empty() ? 0.0 : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

}  // namespace

int main(int argc, char** argv) {
  levelrunner::Runner runner;  // enters the repository root
  if (argc > 1 && std::string(argv[1]) == "--stress") {
    levelbench::StressOptions stress;
    if (!levelbench::parseStressOptions(argc, argv, 2, stress)) return 2;
    return levelbench::runStress(runner, stress);
  }
  std::vector<Target> targets;
  bool battle = false;
  bool render = false;
  bool worst = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--battle") battle = true;
    else if (arg == "--render") render = true;
    else if (arg == "--worst") worst = true;
    else targets.push_back(parseTarget(arg));
  }
  if (worst) {
    const std::vector<Target> found = campaignWorst();
    targets.insert(targets.end(), found.begin(), found.end());
  }
  if (targets.empty())
    for (const std::string& level : shippedLevels()) targets.push_back({level, -1});
  const std::string scratch = (fs::temp_directory_path() / "starmoor-level-bench.xml").string();
  std::printf("| level | attack | ships | energy | towers | frames | mean ms | p95 ms | max ms |%s\n",
              render ? " draw mean ms | draw p95 ms | draw CPU mean ms | draw CPU p95 ms |" : "");
  std::printf("|-------|--------|-------|--------|--------|--------|---------|--------|--------|%s\n",
              render ? "--------------|-------------|------------------|-----------------|" : "");
  std::vector<double> all, allDraw, allDrawCpu;
  std::vector<std::string> notes;
  for (const Target& target : targets) {
    const std::string name = fs::path(target.level).filename().string();
    const Heaviest h = findHeaviest(target.level, target.attack, scratch);
    if (h.levelCopy.empty()) {
      std::printf("| %s | - | - | - | - | - | %s | | |\n", name.c_str(), h.read ? "no such attack" : "not read");
      continue;
    }
    levelrunner::RunOptions o;
    o.levelFile = h.levelCopy;
    o.seed = 1;
    o.script = {{0, "start", {}}};
    o.maxFrames = 8000;
    std::vector<double> cpu, draw, drawCpu;
    o.frameCpuMs = &cpu;
    if (render) {
      o.frameRenderMs = &draw;
      o.frameRenderCpuMs = &drawCpu;
    }
    std::vector<bool> fighting;
    levelbench::Placed placed;
    levelrunner::Outcome out;
    if (battle) {
      // Fixed credits, so every kind can be bought at once; the run lasts until the
      // whole attack has come out and been destroyed.
      o.mode = MODE_MAXCREDITS;
      o.maxFrames = kBattleFrameLimit;
      o.until = [&](LevelScreen& l) { return l.flow().enemiesSpawned() >= h.ships && l.countLiveEnemies() == 0; };
      out = runner.run(o, [&](LevelScreen& l, int frame) {
        if (frame == 0) placed = levelbench::placeTowers(runner, l, 0);
        fighting.push_back(l.countLiveEnemies() > 0);
      });
      // Only the frames of the fight: once the wave is destroyed the field is idle.
      auto keepFighting = [&](std::vector<double>& v) {
        std::vector<double> kept;
        for (size_t i = 0; i < v.size() && i < fighting.size(); ++i)
          if (fighting[i]) kept.push_back(v[i]);
        v.swap(kept);
      };
      keepFighting(cpu);
      keepFighting(draw);
      keepFighting(drawCpu);
      out.frames = static_cast<int>(cpu.size());
      std::string kinds;
      for (const std::string& k : placed.kinds) kinds += (kinds.empty() ? "" : " ") + k;
      notes.push_back(name + " attack " + std::to_string(h.attackId) + ": " + kinds + "; " +
                      std::to_string(out.kills) + " of " + std::to_string(out.spawned) + " ships destroyed" +
                      (out.over ? ", the level ended" : "") + " (" + levelrunner::describe(out) + ")");
    } else {
      out = runner.run(o);
    }
    std::printf("| %s | %d | %d | %ld | %d | %d | %.3f | %.3f | %.3f |", name.c_str(), h.attackId, h.ships, h.energy,
                placed.towers, out.frames, meanOf(cpu), levelbench::percentile(cpu, 0.95),
                cpu.empty() ? 0.0 : *std::max_element(cpu.begin(), cpu.end()));
    if (render)
      std::printf(" %.3f | %.3f | %.3f | %.3f |", meanOf(draw), levelbench::percentile(draw, 0.95), meanOf(drawCpu),
                  levelbench::percentile(drawCpu, 0.95));
    std::printf("\n");
    std::fflush(stdout);
    all.insert(all.end(), cpu.begin(), cpu.end());
    allDraw.insert(allDraw.end(), draw.begin(), draw.end());
    allDrawCpu.insert(allDrawCpu.end(), drawCpu.begin(), drawCpu.end());
  }
  std::error_code ec;
  fs::remove(scratch, ec);
  std::printf("\n");
  for (const std::string& note : notes) std::printf("%s\n", note.c_str());
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("all frames: %zu, mean %.3f ms, p95 %.3f ms; peak memory %.1f MB\n", all.size(), meanOf(all),
              levelbench::percentile(all, 0.95), usage.ru_maxrss / 1024.0);
  if (render)
    std::printf("drawing: mean %.3f ms, p95 %.3f ms; its CPU: mean %.3f ms, p95 %.3f ms\n", meanOf(allDraw),
                levelbench::percentile(allDraw, 0.95), meanOf(allDrawCpu), levelbench::percentile(allDrawCpu, 0.95));
  return 0;
}
