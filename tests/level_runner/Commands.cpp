#include "Commands.h"

#include <SDL.h>

#include <cstdlib>

#include "Game/BridgeIds.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "KeyEvent.h"
#include "PointingDeviceEvent.h"
#include "SDLGameApp.h"
#include "widgets/ButtonListener.h"

namespace levelrunner {

namespace {

bool readInts(const Command& c, size_t count, int* out) {
  if (c.args.size() < count) return false;
  for (size_t i = 0; i < count; ++i) {
    char* end = nullptr;
    const long v = std::strtol(c.args[i].c_str(), &end, 10);
    if (*end != '\0') return false;
    out[i] = static_cast<int>(v);
  }
  return true;
}

// The button of a click: left unless the command's third word says "right".
int buttonOf(const Command& c) {
  return c.args.size() > 2 && c.args[2] == "right" ? PointingDeviceEvent::Right : PointingDeviceEvent::Left;
}

// A pointer event at the point <x> <y> the command names, the application's pointer
// moved there first as the mouse moves it; false when the command names no point.
bool pointerAt(SDLGameApp& app, const Command& c, PointingDeviceEvent* e) {
  int v[2];
  if (!readInts(c, 2, v)) return false;
  app.setMousePosition(v[0], v[1]);
  e->x = v[0];
  e->y = v[1];
  return true;
}

const char* const kStrategyNames[] = {"distant", "closest", "weakest", "strongest",
                                      "first",   "last",    "slowest", "fastest"};

}  // namespace

xBaseTowerEntity* towerAt(LevelScreen& level, int column, int row) {
  for (xBaseTowerEntity* t : findTowers(level))
    if (level.findLiveEntity(t) && t->cellIndex() == PlacementGrid::index(column, row)) return t;
  return nullptr;
}

Commands::Commands(SDLGameApp& app) : app_(app) {
  // key <SDL key name>: a press of that key, as the level receives it ("Escape", "F1", "s").
  registerCommand("key", [](LevelScreen& level, const Command& c) {
    if (c.args.size() != 1) return false;
    const SDL_Keycode key = SDL_GetKeyFromName(c.args[0].c_str());
    if (key == SDLK_UNKNOWN) return false;
    KeyEvent event;
    event.key = key;
    event.kind = KeyEvent::Pressed;
    level.onKeyEvent(event);
    return true;
  });
  registerCommand("start", [](LevelScreen& level, const Command&) {
    level.sendNextWave();
    return true;
  });
  registerCommand("wave", [](LevelScreen& level, const Command&) {
    level.sendNextWave();
    return true;
  });
  // next: presses the send-wave button if the bridge shows it, as a player can.
  registerCommand("next", [](LevelScreen& level, const Command&) {
    if (level.bridge().sendWaveOffered()) level.onButtonEvent(bridgeids::kSendWave, bge::ButtonListener::Released);
    return true;
  });
  // place <column> <row> [kind]: buys the level's tower kind (button order, 0 first)
  // for that cell as a click would; the level's refusals (a taken cell, too few
  // credits) are not errors of the command.
  registerCommand("place", [](LevelScreen& level, const Command& c) {
    int v[3] = {0, 0, 0};
    if (!readInts(c, 2, v) || (c.args.size() > 2 && !readInts(Command{0, "", {c.args[2]}}, 1, &v[2]))) return false;
    const auto& kinds = level.towerDescriptions();
    if (v[2] < 0 || v[2] >= static_cast<int>(kinds.size())) return false;
    if (PlacementGrid::index(v[0], v[1]) < 0) return false;
    level.placement().buyTower(v[0], v[1], kinds[v[2]]);
    return true;
  });
  registerCommand("upgrade", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    level.towerCommands().upgradeTower(towerAt(level, v[0], v[1]));
    return true;
  });
  registerCommand("sell", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    level.towerCommands().sellTower(towerAt(level, v[0], v[1]));
    return true;
  });
  // retarget <column> <row> <distant|closest|weakest|strongest|first|last|slowest|fastest>
  registerCommand("retarget", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v) || c.args.size() != 3) return false;
    for (int i = 0; i < 8; ++i)
      if (c.args[2] == kStrategyNames[i]) {
        level.towerCommands().retargetTower(towerAt(level, v[0], v[1]), i);
        return true;
      }
    return false;
  });
  // build <column> <row> <kind>: buys a tower of the level's kind named by its info
  // key (INFO_T1, TDEPLOYMENT_INFO...) for that cell, as a click would.
  registerCommand("build", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v) || c.args.size() != 3) return false;
    xBaseTowerDesc* desc = level.placement().findDescriptionByKind(c.args[2]);
    if (!desc || PlacementGrid::index(v[0], v[1]) < 0) return false;
    // Chosen and then clicked on, as a player does; the level refuses a taken cell.
    level.selection().chooseTowerDesc(desc);
    level.placement().buyTower(v[0], v[1], desc);
    return true;
  });
  // click <column> <row> [right]: a click on the tower standing on the cell.
  registerCommand("click", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    xBaseTowerEntity* tower = towerAt(level, v[0], v[1]);
    if (!tower) return false;
    PointingDeviceEvent e;
    e.kind = PointingDeviceEvent::Pressed;
    e.x = v[0] * 32 + 16;
    e.y = v[1] * 32 + 16;
    e.buttons = buttonOf(c);
    tower->mousePressed(e);
    return true;
  });
  // press <x> <y> [right]: a click (press and release) at a point of the screen, given to
  // the level as the application gives it: whatever lies under the pointer takes it, a
  // tower standing there or the field.
  registerCommand("press", [this](LevelScreen& level, const Command& c) {
    PointingDeviceEvent e;
    if (!pointerAt(app_, c, &e)) return false;
    e.buttons = buttonOf(c);
    for (const auto kind : {PointingDeviceEvent::Pressed, PointingDeviceEvent::Released}) {
      e.kind = kind;
      level.onPointingDeviceEvent(e);
    }
    return true;
  });
  registerCommand("cancel", [](LevelScreen& level, const Command&) {
    level.placement().cancelPendingPlacement();
    return true;
  });
  registerCommand("checkpoint", [](LevelScreen& level, const Command&) {
    level.checkpoints().take();
    return level.checkpoints().records() != nullptr;
  });
  // restore: starts the restore sweep, as the backspace key does; the restore follows
  // when the sweep ends.
  registerCommand("restore", [](LevelScreen& level, const Command&) { return level.checkpoints().requestRestore(); });
  // select <column> <row>: picks the tower standing there, its info and commands
  // shown, as a click on it does (a tower placed a moment ago is let go first).
  registerCommand("select", [](LevelScreen& level, const Command& c) {
    int v[2];
    if (!readInts(c, 2, v)) return false;
    xBaseTowerEntity* tower = towerAt(level, v[0], v[1]);
    if (!tower) return true;
    if (tower->isSelected()) tower->toggleSelected();
    tower->toggleSelected();
    return true;
  });
  // choose <kind> / hover <kind>: a click on, or the pointer over, the kind's tower
  // button (button order, 0 first).
  for (const char* verb : {"choose", "hover"}) {
    const bool click = std::string(verb) == "choose";
    registerCommand(verb, [click](LevelScreen& level, const Command& c) {
      int kind = 0;
      if (!readInts(c, 1, &kind) || kind < 0 || kind >= static_cast<int>(level.towerDescriptions().size())) return false;
      level.onButtonEvent(bridgeids::kTowerButtonBase + kind, click ? bge::ButtonListener::Released : bge::ButtonListener::PointerEntered);
      return true;
    });
  }
  // pointer <x> <y>: moves the pointer there, as the mouse does.
  registerCommand("pointer", [this](LevelScreen& level, const Command& c) {
    PointingDeviceEvent e;
    if (!pointerAt(app_, c, &e)) return false;
    level.mouseMoved(e);
    return true;
  });
  registerCommand("speed", [](LevelScreen& level, const Command& c) {
    if (c.args.size() != 1) return false;
    if (c.args[0] == "fast") level.setGameSpeed(0.36f);
    else if (c.args[0] == "normal") level.setGameSpeed(1.0f);
    else return false;
    return true;
  });
}

void Commands::registerCommand(const std::string& verb, CommandHandler handler) {
  commands_[verb] = std::move(handler);
}

bool Commands::perform(LevelScreen& level, const Command& command) const {
  auto it = commands_.find(command.verb);
  return it != commands_.end() && it->second(level, command);
}

}  // namespace levelrunner
