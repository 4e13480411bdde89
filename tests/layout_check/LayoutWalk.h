// The layout check's walk: the level runner's application with the measuring fonts in
// place, the rules a drawn scene is held to, and the helpers the scenes share.
#pragma once

#include <gtest/gtest.h>

#include "LayoutMeasure.h"
#include "Game/BridgeIds.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "DynamicResources/RandomSeeder.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "KeyEvent.h"
#include "LevelRunner.h"
#include "Menus/CreditsScreen.h"
#include "Menus/EncyclopediaPages.h"
#include "Menus/EncyclopediaScreen.h"
#include "Menus/GameHelpScreen.h"
#include "Menus/GamePauseScreen.h"
#include "Menus/GameProgressDialog.h"
#include "Menus/LeaderboardQueryWidget.h"
#include "Menus/MainMenu.h"
#include "Menus/MissionControl.h"
#include "Menus/OptionsScreen.h"
#include "Menus/PostLevelScreen.h"
#include "Menus/ResolutionScreen.h"
#include "Menus/SaveEntries.h"
#include "Menus/TutorialScreen.h"
#include "music/AudioAnalyserWidget.h"
#include "Profile/Profile.h"
#include "music/AnnounceMusicTrack.h"
#include "ResourceManager.h"
#include "SDLGameApp.h"
#include "SaveGame.h"
#include "Store/CSteamLeaderboards.h"
#include "Store/FakeStore.h"
#include "System/GameFonts.h"
#include "widgets/Button.h"
#include "widgets/CheckBox.h"
#include "widgets/ImageWidget.h"
#include "Utilities.h"

namespace layoutcheck {

class Walk {
 public:
  Walk() {
    runner_ = std::make_unique<levelrunner::Runner>();
    // Before any screen is built: buttons keep the font they were made with.
    ResourceManager* global = app().globalResourceManager();
    for (const GameFont& f : kGameFonts) global->registerFont(f.id, new MeasuringFont(f.id, f.file));
    // The music banner's font and picture, as the game sets them at start-up.
    g_announceFont = global->findFont("FONT_NOTOSANS16");
    const std::string banner = "content/images/mission/showsong.png";
    if (!global->findTexture(banner)) global->registerTexture(banner, global->createTexture(banner));
    g_announceBanner = global->findTexture(banner);
    SceneMusicContainer::instance()->load("content/config/music.xml");
    // The catalogues seed the random numbers from the clock the first time they draw a
    // track; that seeding spent here, the walk (and the screenshots it keeps) is the
    // same on every run.
    randomSeeder();
    std::srand(1);
    profile_ = findProfile(&app());
    if (!profile_) {
      profile_ = new Profile("Commander");
      app().getSaveGame()->addEntry("PLAYER_PROFILE", profile_);
    }
    profile_->loadStations("content/config/stations.xml");
    profile_->setFullscreen(false);
  }

  SDLGameApp& app() { return runner_->app(); }
  levelrunner::Runner& runner() { return *runner_; }
  Profile* profile() { return profile_; }

  void frames(int n, store::FakeStore* store = nullptr) {
    for (int i = 0; i < n; ++i) {
      if (store) store->runCallbacks();
      app().update(16);
      app().deleteQueuedStates();
    }
  }
  void clear() {
    while (app().topState()) app().popState();
    app().deleteQueuedStates();
  }

  // Draws the whole stack as a frame does and checks what the player can see.
  // Returns the scene's faults (also reported as a test failure).
  std::vector<std::string> check(const std::string& scene) {
    RecordingGraphics g;
    g_sheet = Sheet();
    g_sheet.g = &g;
    std::vector<size_t> starts;
    const std::vector<GameState*> states = app().states();
    for (size_t i = 0; i < states.size(); ++i) {
      starts.push_back(g.calls.size());
      g_sheet.screen = int(i);
      states[i]->render(&g);
    }
    starts.push_back(g.calls.size());
    std::vector<std::string> faults = judge(g, states, starts);
    // With STARMOOR_LAYOUT_SHOTS set, each scene is also drawn for real and kept.
    if (const char* shots = std::getenv("STARMOOR_LAYOUT_SHOTS")) runner_->saveFrame(std::string(shots) + "/" + fileName(scene));
    if (!faults.empty()) {
      std::string all;
      for (size_t i = 0; i < faults.size() && i < 12; ++i) all += "\n  " + faults[i];
      if (faults.size() > 12) all += "\n  ... and " + std::to_string(faults.size() - 12) + " more";
      ADD_FAILURE() << scene << ":" << all;
    }
    lastLines_ = g_sheet.lines;
    lastCalls_ = g.calls;
    return faults;
  }
  const std::vector<Line>& lastLines() const { return lastLines_; }
  const std::vector<GraphicsCall>& lastCalls() const { return lastCalls_; }
  // "results, won" -> "results-won.png"
  static std::string fileName(const std::string& scene) {
    std::string name;
    for (char c : scene) {
      if (std::isalnum(static_cast<unsigned char>(c))) name += char(std::tolower(static_cast<unsigned char>(c)));
      else if (!name.empty() && name.back() != '-') name += '-';
    }
    while (!name.empty() && name.back() == '-') name.pop_back();
    return name + ".png";
  }
  bool saw(const std::string& text) const {
    for (const Line& l : lastLines_)
      if (l.text.find(text) != std::string::npos) return true;
    return false;
  }

 private:
  // How much of what is drawn in the area still shows through the fills and
  // the screen-sized backdrops drawn over it afterwards (1: all, 0: none).
  static float lightThrough(const RecordingGraphics& g, const Area& a, size_t after) {
    float light = 1.0f;
    for (size_t i = after; i < g.calls.size(); ++i) {
      const GraphicsCall& c = g.calls[i];
      const bool backdrop = c.op == "drawImage" && c.w * c.h >= 0.95f * kScreenW * kScreenH;
      if ((c.op == "fillRect" || backdrop) && Area{c.screenX, c.screenY, c.w, c.h}.contains(a, 0.0f))
        light *= 1.0f - c.color.a / 255.0f;
    }
    return light;
  }
  // Pictures and widgets are taken as bright as a white text.
  static bool hidden(const RecordingGraphics& g, const Area& a, size_t after, const Color& c = Color::white) {
    const float brightest = std::max({c.r, c.g, c.b}) * (c.a / 255.0f);
    return brightest * lightThrough(g, a, after) < kLegibleLevels;
  }

  std::vector<std::string> judge(const RecordingGraphics& g, const std::vector<GameState*>& states,
                                 const std::vector<size_t>& starts) {
    std::vector<std::string> faults;
    std::vector<const Line*> seen;
    for (const Line& l : g_sheet.lines)
      if (!hidden(g, l.ink, l.seq, l.color)) seen.push_back(&l);
    const Area screen{0, 0, kScreenW, kScreenH};
    for (const Line* l : seen) {
      const std::string what = "\"" + l->text + "\" " + l->ink.str();
      if (l->text.find("error::label not found") != std::string::npos || looksLikeKey(l->text))
        faults.push_back("missing label: " + what);
      if (l->box >= 0) {
        const TextBox& b = g_sheet.boxes[size_t(l->box)];
        Area across = b.area;
        // A single line may stand taller than a short box; lines of a block may not.
        if (b.lines < 2) {
          across.y = l->ink.y;
          across.h = l->ink.h;
        }
        if (b.area.w > 1.0f && !across.contains(l->ink)) faults.push_back("outside its box " + b.area.str() + ": " + what);
      }
    }
    // Panels: the images the visible screens stand their texts on.
    struct Panel {
      Area area;
      int screen;
      bool banner = false;
    };
    std::vector<Panel> panels;
    for (size_t s = 0; s < states.size(); ++s) {
      auto* screenBase = dynamic_cast<ScreenBase*>(states[s]);
      if (!screenBase) continue;
      for (Widget* w : screenBase->getWidgets()) {
        auto* image = dynamic_cast<ImageWidget*>(w);
        if (!image || !image->isVisible()) continue;
        const Area a{image->getX(), image->getY(), image->getWidth(), image->getHeight()};
        // Panels, not pictures: an arrow or an icon is no panel, a backdrop neither.
        if (a.w < kPanelMinW || a.h < kPanelMinH || a.w * a.h > 0.6f * kScreenW * kScreenH) continue;
        if (hidden(g, a, starts[s + 1])) continue;
        panels.push_back(Panel{a, int(s)});
      }
      // The music banner's strip is a panel wherever it slides; under another screen
      // it is fully in or not drawn, and on a level it hides no lane's entry.
      for (size_t i = starts[s]; i < starts[s + 1]; ++i) {
        const GraphicsCall& c = g.calls[i];
        const Area a{c.screenX, c.screenY, c.w, AnnounceMusicTrack::kStripHeight};
        if (c.op != "drawImage" || !c.texture || c.texture != g_announceBanner || hidden(g, a, starts[s + 1])) continue;
        panels.push_back(Panel{a, int(s), true});
        if (s + 1 < states.size() && c.color.a > 0 && c.color.a < 255)
          faults.push_back("the music banner " + a.str() + " stands half drawn under another screen");
        if (auto* level = dynamic_cast<LevelScreen*>(states[s])) {
          for (const auto& p : level->model().entryMarkers)
            if (a.overlaps(Area{p.x - kMarkerReach, p.y - kMarkerReach, 2 * kMarkerReach, 2 * kMarkerReach}))
              faults.push_back("the music banner " + a.str() + " covers the lane entry at " + std::to_string(int(p.x)) +
                               "," + std::to_string(int(p.y)));
          // The first mission's field has room beside its lane: none runs under it.
          if (level->missionId() == 0)
            for (const auto& path : level->model().paths)
              for (const auto& lane : path.second.points)
                for (const auto& p : lane.second)
                  if (a.contains(Area{p.x, p.y, 0, 0})) {
                    faults.push_back("the music banner " + a.str() + " covers the first mission's lane at " +
                                     std::to_string(int(p.x)) + "," + std::to_string(int(p.y)));
                    break;
                  }
        }
      }
    }
    // A text may leave the screen only with a panel that slides off it.
    for (const Line* l : seen)
      if (!screen.contains(l->ink) && std::none_of(panels.begin(), panels.end(), [&](const Panel& p) {
            return p.area.contains(l->ink) && !screen.contains(p.area);
          }))
        faults.push_back("off the screen: \"" + l->text + "\" " + l->ink.str());
    // A covered screen's texts against its own panels were judged while it was
    // on top; under another one it may stand frozen mid-move.
    const int top = int(states.size()) - 1;
    for (const Line* l : seen)
      for (const Panel& p : panels)
        if (p.screen == l->screen && l->screen < top) continue;
        else if (p.screen > l->screen && p.area.overlaps(l->ink, 0.5f))
          faults.push_back("shows through the panel " + p.area.str() + " above it: \"" + l->text + "\" " + l->ink.str());
        else if (p.area.overlaps(l->ink, 0.5f) && !p.area.contains(l->ink))
          faults.push_back("crosses the panel " + p.area.str() + ": \"" + l->text + "\" " + l->ink.str());
    for (const Panel& below : panels)
      for (const Panel& p : panels)
        if (p.screen > below.screen && p.area.overlaps(below.area, 2.0f))
          faults.push_back("a picture " + below.area.str() + " shows through the panel " + p.area.str() + " above it");
    for (size_t i = 0; i < seen.size(); ++i)
      for (size_t j = i + 1; j < seen.size(); ++j)
        if (seen[i]->ink.overlaps(seen[j]->ink, 0.5f))
          faults.push_back("overprint: \"" + seen[i]->text + "\" " + seen[i]->ink.str() + " and \"" + seen[j]->text +
                           "\" " + seen[j]->ink.str());
    // Lines drawn across a text already standing on a panel, as far as the scissor in
    // force lets them (the field's own lines may run under the music banner).
    bool clipping = false;
    Area scissor;
    for (size_t i = 0; i < g.calls.size(); ++i) {
      const GraphicsCall& c = g.calls[i];
      if (c.op == "setScissor") scissor = Area{c.x, c.y, c.w, c.h};
      if (c.op == "enableScissor") clipping = c.extra > 0.5f;
      float x0 = c.screenX, y0 = c.screenY, x1 = c.screenX + c.w - c.x, y1 = c.screenY + c.h - c.y;
      if (c.op != "drawLine" || (clipping && !clipTo(scissor, x0, y0, x1, y1))) continue;
      for (const Line* l : seen) {
        if (std::none_of(panels.begin(), panels.end(), [&](const Panel& p) { return !p.banner && p.area.contains(l->ink); }))
          continue;
        const Area inner{l->ink.x + kSlack, l->ink.y + kSlack, l->ink.w - 2 * kSlack, l->ink.h - 2 * kSlack};
        float a0 = x0, b0 = y0, a1 = x1, b1 = y1;
        if (l->seq < i && clipTo(inner, a0, b0, a1, b1))
          faults.push_back("a line crosses \"" + l->text + "\" " + l->ink.str());
      }
    }
    // Buttons stand inside their panel, nothing is drawn across them, and they
    // say what their layout says (the ones that carry a figure say it after).
    for (size_t s = 0; s < states.size(); ++s) {
      auto* screenBase = dynamic_cast<ScreenBase*>(states[s]);
      if (!screenBase) continue;
      auto areaOf = [](const Widget* w) {
        // The spectrum draws its fixed axis well right of its own left edge: what
        // it covers is where that axis lies, not its rectangle.
        if (dynamic_cast<const DFTSpectralAnalayzerWidget*>(w)) {
          const float left = DFTSpectralAnalayzerWidget::xOfBin(DFTSpectralAnalayzerWidget::kFirstBin);
          const float right = DFTSpectralAnalayzerWidget::xOfBin(DFTSpectralAnalayzerWidget::kLastBin + 1);
          return Area{w->getX() + left, w->getY(), right - left, w->getHeight()};
        }
        return Area{w->getX(), w->getY(), w->getWidth(), w->getHeight()};
      };
      if (auto* level = dynamic_cast<LevelScreen*>(screenBase)) {
        const TowerCommandWidget* panel = level->bridge().commandWidget();
        if (panel && level->bridge().shownTower() && panel->selectedStrategy() < 0)
          for (const bge::Button* b : panel->buttons())
            if (b->isVisible() && bridgeids::strategyOfCommand(b->getButtonId()) >= 0)
              faults.push_back("a tower that aims at nothing offers targeting " + std::to_string(b->getButtonId()));
      }
      for (Widget* w : screenBase->getWidgets()) {
        auto* b = dynamic_cast<bge::Button*>(w);
        if (!b || !b->isVisible() || hidden(g, areaOf(b), starts[s + 1])) continue;
        for (const Panel& p : panels)
          if (p.area.overlaps(areaOf(b), 2.0f) && !p.area.contains(areaOf(b), 2.0f))
            faults.push_back("button " + std::to_string(b->getButtonId()) + " " + areaOf(b).str() +
                             " crosses the panel " + p.area.str());
        for (Widget* other : screenBase->getWidgets()) {
          if (other == w || !other->isVisible() || dynamic_cast<bge::Button*>(other) ||
              dynamic_cast<ImageWidget*>(other))
            continue;
          const Area o = areaOf(other);
          if (o.w <= 0 || o.h <= 0 || o.w * o.h > 0.6f * kScreenW * kScreenH) continue;
          if (o.overlaps(areaOf(b), 2.0f))
            faults.push_back("a widget " + o.str() + " lies across button " + std::to_string(b->getButtonId()));
        }
        if (b->getCaptionKey().empty()) continue;
        const std::string expected = layout::lookupText(b->getCaptionKey());
        const std::string& shown = b->getCaption();
        if (shown != expected && shown.rfind(expected + " ", 0) != 0)
          faults.push_back("button " + std::to_string(b->getButtonId()) + " says \"" + shown + "\", its layout \"" +
                           expected + "\"");
      }
    }
    return faults;
  }

  std::unique_ptr<levelrunner::Runner> runner_;
  Profile* profile_ = nullptr;  // owned by the save game
  std::vector<Line> lastLines_;
  std::vector<GraphicsCall> lastCalls_;
};

inline Walk& walk() {
  static Walk w;
  return w;
}

// A board of the given mission's mode with twelve pilots and the player on it.
inline void fillBoard(store::FakeStore& fake, const std::string& board) {
  for (int i = 0; i < 12; ++i)
    fake.addScore(board, 500 + i, 90000 - 2500 * i, i == 3 ? "A pilot with a rather long call sign" : "pilot");
  fake.addScore(board, fake.userId(), 81000, "Commander");
}

// The pointer moved there as the mouse moves it; the level follows it next frame.
inline void pointAt(Walk& w, LevelScreen& level, float x, float y) {
  w.runner().perform(level, levelrunner::Command{0, "pointer", {std::to_string(int(x)), std::to_string(int(y))}});
  w.frames(1);
}

// The cells a tower can stand on, a few apart so the field stays readable.
inline std::vector<std::pair<int, int>> freeCells(LevelScreen& level) {
  std::vector<std::pair<int, int>> cells;
  const std::vector<int>& grid = level.grid().cells();
  for (int row = 1; row < 23; row += 2)
    for (int column = 1; column < 31; column += 2) {
      const int cell = row * 32 + column;
      if (cell < int(grid.size()) && grid[size_t(cell)] == 0) cells.emplace_back(column, row);
    }
  return cells;
}

}  // namespace layoutcheck
