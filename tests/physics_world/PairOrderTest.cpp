// The broad phase hands the narrow phase the same pairs in the same order on the four scenes
// of the physics benchmark: contacts are made in that order, so any change to it would change
// how every level plays out. The fingerprints below were recorded from the single-list
// quadtree, whose order (cells depth first, each cell's shapes newest filing first) the game
// was tuned with.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>
#include <utility>

#include "CollisionContext/Colliders/xColliderTable.h"
#include "QuillonScene.h"
#include "WorldFixture.h"

namespace worldtest {
namespace {

constexpr int kSlots = xColliderTable::kStride * xColliderTable::kStride;

// Every pair the narrow phase is handed, by the shapes' places in the scene's creation
// order, folded into one number.
struct PairLog {
  std::unordered_map<const xShape *, uint32_t> place;
  uint64_t hash = 1469598103934665603ull;
  long pairs = 0;

  void add(const xShape *a, const xShape *b) {
    for (const xShape *s : {a, b}) {
      auto it = place.find(s);
      mix(it == place.end() ? 0xffffffffu : it->second);
    }
    ++pairs;
  }
  void mix(uint64_t v) {
    hash ^= v;
    hash *= 1099511628211ull;
  }
};

PairLog *g_log = nullptr;
qlnColliderFn g_original[kSlots] = {};

template <int Slot>
void recordPair(xShape *a, xShape *b) {
  if (g_log) g_log->add(a, b);
  g_original[Slot](a, b);
}

template <int... Slots>
constexpr std::array<qlnColliderFn, kSlots> recorders(std::integer_sequence<int, Slots...>) {
  return {&recordPair<Slots>...};
}

// Puts a recorder in front of every narrow-phase routine for its lifetime.
class RecordedColliders {
 public:
  explicit RecordedColliders(PairLog &log) {
    static const std::array<qlnColliderFn, kSlots> wrap = recorders(std::make_integer_sequence<int, kSlots>());
    xColliderTable *t = xColliderTable::Instance();
    for (int i = 0; i < kSlots; ++i) {
      g_original[i] = t->entry(i / xColliderTable::kStride, i % xColliderTable::kStride);
      if (g_original[i]) t->setEntry(i / xColliderTable::kStride, i % xColliderTable::kStride, wrap[i]);
    }
    g_log = &log;
  }
  ~RecordedColliders() {
    g_log = nullptr;
    xColliderTable *t = xColliderTable::Instance();
    for (int i = 0; i < kSlots; ++i)
      if (g_original[i]) t->setEntry(i / xColliderTable::kStride, i % xColliderTable::kStride, g_original[i]);
  }
};

PairLog playScene(int id, bench::Settings settings, int steps) {
  resetConfig();
  const bench::Scene scene = bench::makeScene(id);
  bench::QuillonScene world;
  world.build(scene, settings);
  PairLog log;
  for (size_t i = 0; i < world.shapes().size(); ++i) log.place[world.shapes()[i]] = uint32_t(i);
  RecordedColliders recorded(log);
  for (int i = 0; i < steps; ++i) {
    world.drive(scene, i * bench::kFrameSeconds);
    world.step();
    log.mix(0x5eedu);  // step boundary: a pair may not move to another step either
  }
  return log;
}

struct Expected {
  int scene;
  bench::Settings settings;
  int steps;
  long pairs;
  uint64_t hash;
};

TEST(PairOrder, SamePairsInTheSameOrderOnEveryBenchmarkScene) {
  const Expected cases[] = {
      {0, bench::Settings::Default, 60, 62063, 0x989b1830463a3da9ull},
      {0, bench::Settings::Game, 20, 21899, 0xb8bfd86830e4f1a5ull},
      {1, bench::Settings::Default, 20, 486064, 0xd7761a192e792c95ull},
      {1, bench::Settings::Game, 8, 190014, 0x09760f84864240edull},
      {2, bench::Settings::Default, 12, 410419, 0xf9263a1862337da9ull},
      {2, bench::Settings::Game, 5, 168889, 0xec700208698b6bd8ull},
      {3, bench::Settings::Default, 8, 52288, 0xcb22115d45bcb76dull},
      {3, bench::Settings::Game, 8, 52288, 0xcb22115d45bcb76dull},
  };
  const bool print = std::getenv("STARMOOR_PRINT_PAIR_ORDER") != nullptr;
  for (const Expected &e : cases) {
    const PairLog log = playScene(e.scene, e.settings, e.steps);
    const char *settings = e.settings == bench::Settings::Game ? "game" : "default";
    if (print)
      std::printf("scene %d %s: %ld pairs, 0x%016llxull\n", e.scene, settings, log.pairs,
                  static_cast<unsigned long long>(log.hash));
    EXPECT_GT(log.pairs, 0) << "scene " << e.scene << " " << settings;
    EXPECT_EQ(e.pairs, log.pairs) << "scene " << e.scene << " " << settings;
    EXPECT_EQ(e.hash, log.hash) << "scene " << e.scene << " " << settings;
  }
}

}  // namespace
}  // namespace worldtest
