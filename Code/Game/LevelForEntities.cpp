#include "Game/LevelForEntities.h"

#include "AssertReport.h"

namespace {

LevelForEntities* g_servedLevel = nullptr;  // not owned: the level registers and unregisters itself

// The empty level theLevel() answers with: made the first time no level runs, and
// serving nobody.
class NoLevel : public EmptyLevel {
 public:
  NoLevel() { stopServingEntities(); }
};

}  // namespace

LevelForEntities::LevelForEntities() { g_servedLevel = this; }

LevelForEntities::~LevelForEntities() { stopServingEntities(); }

void LevelForEntities::stopServingEntities() {
  if (g_servedLevel == this) g_servedLevel = nullptr;
}

LevelForEntities& theLevel() {
  if (BGE_REPORT_MSG(g_servedLevel, "an entity asked for its level while no level runs")) return *g_servedLevel;
  static NoLevel none;
  return none;
}

bool levelRunning() { return g_servedLevel != nullptr; }
