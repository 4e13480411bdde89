#include "Stress.h"

#include <sys/resource.h>
#include <tinyxml.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <sstream>

#include "LevelCopy.h"
#include "Towers.h"
#include "XmlAttributes.h"

namespace fs = std::filesystem;

namespace levelbench {

namespace {

// Energy of a stress ship: no tower wears it down within a run.
constexpr int kUndying = 1000000000;
// Ships one spawn record sends; the records run side by side, so the whole crowd is
// out within kSpawnWindowMs however large it is.
constexpr int kShipsPerRecord = 25;
constexpr int kSpawnWindowMs = 4000;
constexpr int kMinSpawnDelayMs = 16;
// Frames allowed for the crowd to come out before the run gives up on it.
constexpr int kWarmUpLimit = 2000;

// One spawn record of the level's heaviest attack.
struct Record {
  int pathId = 0;
  std::string pathSubId;
  int speed = -1;
  std::string enemy;
  int count = 0;
};

// The records of the attack with the most ships (later attacks win ties).
std::vector<Record> heaviestRecords(const bge::XmlReader& reader, TiXmlElement* stage) {
  std::vector<Record> best;
  int bestShips = -1;
  for (TiXmlElement* a = stage->FirstChildElement("Attack"); a; a = a->NextSiblingElement("Attack")) {
    std::vector<Record> records;
    int ships = 0;
    for (TiXmlElement* w = a->FirstChildElement("Wave"); w; w = w->NextSiblingElement("Wave")) {
      Record r;
      r.pathId = reader.readInt(w, "pathId", 0);
      r.pathSubId = reader.readString(w, "pathSubId", "");
      r.speed = reader.readInt(w, "speed", -1);
      r.enemy = reader.readString(w, "enemy", "");
      r.count = reader.readInt(w, "count", 0, 0);
      ships += r.count;
      records.push_back(r);
    }
    if (ships >= bestShips && ships > 0) {
      bestShips = ships;
      best = records;
    }
  }
  return best;
}

// A copy of the ship's entity file in the scratch folder whose ship never dies.
std::string undyingCopy(const std::string& file, const fs::path& scratch) {
  bge::XmlReader reader(file);
  TiXmlDocument doc;
  if (!reader.load(doc)) return file;
  TiXmlElement* root = reader.root(doc, "Entity");
  if (!root) return file;
  root->SetAttribute("energy", kUndying);
  const std::string copy = (scratch / fs::path(file).filename()).string();
  doc.SaveFile(copy.c_str());
  return copy;
}

// The level with one attack of `ships` ships in the heaviest attack's proportions, its
// records split into runs of kShipsPerRecord that spawn side by side. Empty when the
// level gives no attack.
std::string crowdedLevel(const std::string& level, int ships, const fs::path& scratch) {
  bge::XmlReader reader(level);
  TiXmlDocument doc;
  if (!reader.load(doc)) return "";
  TiXmlElement* stage = reader.root(doc, "Stage");
  if (!stage) return "";
  const std::vector<Record> records = heaviestRecords(reader, stage);
  int total = 0;
  for (const Record& r : records) total += r.count;
  if (total <= 0) return "";
  while (TiXmlElement* a = stage->FirstChildElement("Attack")) stage->RemoveChild(a);
  keepShipsWalking(reader, stage);
  std::map<std::string, std::string> copies;
  TiXmlElement attack("Attack");
  attack.SetAttribute("id", 0);
  int given = 0, waveId = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    const Record& r = records[i];
    // The share of this record; the last takes what rounding left.
    int share = i + 1 == records.size() ? ships - given
                                        : static_cast<int>(static_cast<long>(ships) * r.count / total + 0.5);
    share = std::max(0, std::min(share, ships - given));
    given += share;
    if (!copies.count(r.enemy)) copies[r.enemy] = undyingCopy(r.enemy, scratch);
    for (int left = share; left > 0; left -= kShipsPerRecord) {
      const int count = std::min(left, kShipsPerRecord);
      TiXmlElement wave("Wave");
      wave.SetAttribute("id", waveId++);
      wave.SetAttribute("pathId", r.pathId);
      if (!r.pathSubId.empty()) wave.SetAttribute("pathSubId", r.pathSubId);
      wave.SetAttribute("count", count);
      wave.SetAttribute("spawnDelay", std::max(kMinSpawnDelayMs, kSpawnWindowMs / count));
      wave.SetAttribute("speed", r.speed);
      wave.SetAttribute("enemy", copies[r.enemy]);
      attack.InsertEndChild(wave);
    }
  }
  stage->InsertEndChild(attack);
  const std::string copy = (scratch / "level.xml").string();
  doc.SaveFile(copy.c_str());
  return copy;
}

std::vector<int> parseList(const std::string& text) {
  std::vector<int> values;
  std::stringstream in(text);
  for (std::string item; std::getline(in, item, ',');) {
    if (item.empty() || item.find_first_not_of("0123456789") != std::string::npos) return {};
    values.push_back(std::stoi(item));
  }
  return values;
}

double loadAverage() {
  std::ifstream in("/proc/loadavg");
  double one = 0.0;
  in >> one;
  return one;
}

}  // namespace

bool parseStressOptions(int argc, char** argv, int first, StressOptions& options) {
  for (int i = first; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--ships" && hasValue) options.ships = parseList(argv[++i]);
    else if (arg == "--towers" && hasValue) options.towers = parseList(argv[++i]);
    else if (arg == "--frames" && hasValue) options.frames = std::atoi(argv[++i]);
    else if (arg == "--level" && hasValue) options.level = argv[++i];
    else if (arg == "--render") options.render = true;
    else {
      std::fprintf(stderr, "level_bench --stress: unknown or incomplete argument %s\n", arg.c_str());
      return false;
    }
  }
  if (options.ships.empty() || options.towers.empty() || options.frames <= 0) {
    std::fprintf(stderr, "level_bench --stress: --ships and --towers take lists like 50,200; --frames a count\n");
    return false;
  }
  return true;
}

int runStress(levelrunner::Runner& runner, const StressOptions& options) {
  const fs::path scratch = fs::temp_directory_path() / ("starmoor-stress-" + std::to_string(getpid()));
  fs::create_directories(scratch);
  std::printf("%s, %d frames per cell once every ship is out; CPU of physics step + update per frame\n\n",
              options.level.c_str(), options.frames);
  std::printf("| ships | towers | warm-up frames | live ships at end | min ms | median ms | p95 ms | mean ms | load |%s\n",
              options.render ? " entities drawn | draw CPU median ms | draw CPU p95 ms | draw median ms |" : "");
  std::printf("|-------|--------|----------------|-------------------|--------|-----------|--------|---------|------|%s\n",
              options.render ? "----------------|--------------------|-----------------|----------------|" : "");
  std::fflush(stdout);
  int failures = 0;
  std::string kinds;
  for (int ships : options.ships) {
    const std::string level = crowdedLevel(options.level, ships, scratch);
    if (level.empty()) {
      std::fprintf(stderr, "level_bench --stress: %s gives no attack to crowd\n", options.level.c_str());
      return 1;
    }
    for (int towers : options.towers) {
      const double load = loadAverage();
      levelrunner::RunOptions o;
      o.levelFile = level;
      o.seed = 1;
      o.mode = MODE_MAXCREDITS;
      o.script = {{0, "start", {}}};
      o.maxFrames = kWarmUpLimit + options.frames;
      std::vector<double> cpu, draw, drawCpu;
      o.frameCpuMs = &cpu;
      if (options.render) {
        o.frameRenderMs = &draw;
        o.frameRenderCpuMs = &drawCpu;
      }
      size_t entities = 0;  // on the field at the end, each drawn every frame
      Placed placed;
      int warmUp = -1;  // the frames before every ship was out
      int live = 0;  // ships on the field at the end: ships never die, so a shortfall left
      o.until = [&](LevelScreen& l) {
        if (warmUp < 0 || static_cast<int>(cpu.size()) - warmUp < options.frames) return false;
        live = l.countLiveEnemies();
        entities = l.entities().size();
        return true;
      };
      runner.run(o, [&](LevelScreen& l, int frame) {
        if (frame == 0 && towers > 0) placed = placeTowers(runner, l, towers);
        if (warmUp < 0 && l.flow().enemiesSpawned() >= ships) warmUp = frame + 1;
      });
      std::vector<double> measured, measuredDraw, measuredDrawCpu;
      if (warmUp >= 0 && warmUp < static_cast<int>(cpu.size())) measured.assign(cpu.begin() + warmUp, cpu.end());
      if (warmUp >= 0 && warmUp < static_cast<int>(draw.size())) {
        measuredDraw.assign(draw.begin() + warmUp, draw.end());
        measuredDrawCpu.assign(drawCpu.begin() + warmUp, drawCpu.end());
      }
      if (measured.empty() || placed.towers < towers) ++failures;
      if (placed.towers > 0 && kinds.empty())
        for (const std::string& k : placed.kinds) kinds += (kinds.empty() ? "" : " ") + k;
      std::printf("| %d | %d | %d | %d | %.3f | %.3f | %.3f | %.3f | %.1f |", ships, placed.towers, warmUp, live,
                  measured.empty() ? 0.0 : *std::min_element(measured.begin(), measured.end()), percentile(measured, 0.5),
                  percentile(measured, 0.95),
                  measured.empty() ? 0.0
                                   : std::accumulate(measured.begin(), measured.end(), 0.0) / measured.size(),
                  load);
      if (options.render)
        std::printf(" %zu | %.3f | %.3f | %.3f |", entities, percentile(measuredDrawCpu, 0.5),
                    percentile(measuredDrawCpu, 0.95), percentile(measuredDraw, 0.5));
      std::printf("\n");
      std::fflush(stdout);
    }
  }
  std::error_code ec;
  fs::remove_all(scratch, ec);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  if (!kinds.empty()) std::printf("\ntower kinds placed in turn: %s\n", kinds.c_str());
  std::printf("\npeak memory %.1f MB%s\n", usage.ru_maxrss / 1024.0,
              failures ? "; some cells fell short (towers not all placed or ships not all out)" : "");
  return failures ? 1 : 0;
}

}  // namespace levelbench
