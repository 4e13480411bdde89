// The layout check: the game's screens, and the level's heads-up panels in each
// state a player meets, drawn into a recording graphics with fonts that measure
// every line by the real fonts' metrics. A scene fails when a text leaves the box
// it was given or the panel it stands on, when two texts print over each other,
// when a label is missing, or when a button no longer says what its layout says;
// also when a line is drawn across a text, when the music banner stands half drawn
// under another screen or over a lane's entry, and when a tower that aims at
// nothing is offered targeting. What a screen lays over the ones beneath hides them
// only where it leaves them unreadable; whatever still reads through a screen's
// panels is a fault.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "AngelFont.h"
#include "GLTexture.h"
#include "Game/Entities/towers/xBaseTowerEntity.h"
#include "Game/LevelScreen.h"
#include "Game/TowerCommandWidget.h"
#include "DynamicResources/RandomSeeder.h"
#include "DynamicResources/SceneMusicContainer.h"
#include "LabelManager.h"
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
#include "RecordingGraphics.h"
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
#include "widgets/LayoutReading.h"

namespace {

constexpr float kScreenW = 1366.0f, kScreenH = 768.0f;
constexpr float kSlack = 1.5f;  // rounding of glyph advances and positions
// Light left of a text (its brightest channel, 0..255) that the eye still reads
// on our near-black screens; under that, the fills laid over it hide it.
constexpr float kLegibleLevels = 8.0f;
constexpr float kPanelMinW = 100.0f, kPanelMinH = 40.0f;
constexpr float kMarkerReach = 30.0f;  // a lane marker's ring at its widest

struct Area {
  float x = 0, y = 0, w = 0, h = 0;
  float right() const { return x + w; }
  float bottom() const { return y + h; }
  bool contains(const Area& o, float slack = kSlack) const {
    return o.x >= x - slack && o.y >= y - slack && o.right() <= right() + slack && o.bottom() <= bottom() + slack;
  }
  bool overlaps(const Area& o, float slack = kSlack) const {
    return std::min(right(), o.right()) - std::max(x, o.x) > slack &&
           std::min(bottom(), o.bottom()) - std::max(y, o.y) > slack;
  }
  std::string str() const {
    return "(" + std::to_string(int(x)) + "," + std::to_string(int(y)) + " " + std::to_string(int(w)) + "x" +
           std::to_string(int(h)) + ")";
  }
};

// Cuts the segment to the area; false when none of it lies inside.
bool clipTo(const Area& a, float& x0, float& y0, float& x1, float& y1) {
  const float dx = x1 - x0, dy = y1 - y0;
  const float p[4] = {-dx, dx, -dy, dy}, q[4] = {x0 - a.x, a.right() - x0, y0 - a.y, a.bottom() - y0};
  float t0 = 0.0f, t1 = 1.0f;
  for (int k = 0; k < 4; ++k) {
    if (p[k] == 0.0f) {
      if (q[k] < 0.0f) return false;
    } else if (p[k] < 0.0f) {
      t0 = std::max(t0, q[k] / p[k]);
    } else {
      t1 = std::min(t1, q[k] / p[k]);
    }
  }
  if (t0 > t1) return false;
  const float sx = x0, sy = y0;
  x0 = sx + t0 * dx, y0 = sy + t0 * dy, x1 = sx + t1 * dx, y1 = sy + t1 * dy;
  return true;
}

// One line of text as drawn: its advance box, and the box its glyphs' ink fills.
struct Line {
  std::string text, font;
  Area ink;
  Color color;
  int box = -1;        // index of the box it was laid out in, -1 for a bare line
  size_t seq = 0;      // graphics calls made before it
  int screen = 0;      // index on the state stack of the screen that drew it
};

struct TextBox {
  Area area;
  int lines = 0;
  std::string text;
};

// Where the measuring fonts write while a scene is drawn.
struct Sheet {
  RecordingGraphics* g = nullptr;
  int screen = 0;
  int openBox = -1;
  std::vector<Line> lines;
  std::vector<TextBox> boxes;
};
Sheet g_sheet;

Area onScreen(const RecordingGraphics& g, float x, float y, float w, float h) {
  return Area{g.offsetX() + x * g.scaleX(), g.offsetY() + y * g.scaleY(), w * g.scaleX(), h * g.scaleY()};
}

// A font that lays text out exactly as the game's font does (the same layout
// code over the real glyph advances and line height) and writes down each line
// it draws into a recording graphics; anything else it draws for real.
class MeasuringFont : public Font {
 public:
  MeasuringFont(const std::string& id, const std::string& file)
      : id_(id), real_(new AngelFont(file, GLTexture::kLinear)) {
    lineHeight_ = real_->getLineHeight();
  }
  bool loadDeferred() override { return true; }
  int textWidth(const std::string& text) override { return real_->textWidth(text); }
  void drawTextToTarget(FontDrawTarget* t, int x, int y, const std::string& text, int a, int b) override {
    real_->drawTextToTarget(t, x, y, text, a, b);
  }
  void drawTextAligned(Graphics* g, const Rect5& r, const std::string& text, const Color& c, int h, int v,
                       bool wrap) override {
    Boxed boxed(g, r, text);
    Font::drawTextAligned(g, r, text, c, h, v, wrap);
  }
  void drawTextBoxed(Graphics* g, const Rect5& r, const std::string& text, const Color& c, const Color& bg, int h,
                     int v, bool wrap) override {
    Boxed boxed(g, r, text);
    Font::drawTextBoxed(g, r, text, c, bg, h, v, wrap);
  }
  void drawText(Graphics* g, int x, int y, const std::string& text, const Color& color) override {
    auto* rec = dynamic_cast<RecordingGraphics*>(g);
    if (!rec) {
      real_->drawText(g, x, y, text, color);
      return;
    }
    int top = INT_MAX, bottom = INT_MIN;
    for (unsigned char c : text) {
      const FontGlyph* glyph = real_->findGlyph(c);
      if (!glyph || glyph->width <= 0 || glyph->height <= 0) continue;
      top = std::min(top, glyph->yoffset);
      bottom = std::max(bottom, glyph->yoffset + glyph->height);
    }
    if (top > bottom) return;  // nothing but spaces
    Line line;
    line.text = text;
    line.font = id_;
    line.color = color;
    line.ink = onScreen(*rec, float(x), float(y + top), float(textWidth(text)), float(bottom - top));
    line.box = g_sheet.openBox;
    line.seq = rec->calls.size();
    line.screen = g_sheet.screen;
    if (line.box >= 0) ++g_sheet.boxes[size_t(line.box)].lines;
    g_sheet.lines.push_back(line);
  }
  void reloadPages() override { real_->reloadPages(); }
  void unloadPages() override { real_->unloadPages(); }
  Point2i caretPosition(const std::string& text, int index, const QuillonPHX2D::Vec2& origin, int u) override {
    return real_->caretPosition(text, index, origin, u);
  }

 private:
  // Opens a box on the sheet for the lines laid out in it.
  struct Boxed {
    Boxed(Graphics* g, const Rect5& r, const std::string& text) {
      auto* rec = dynamic_cast<RecordingGraphics*>(g);
      if (!rec || g_sheet.openBox >= 0) return;
      g_sheet.boxes.push_back(TextBox{onScreen(*rec, r.x, r.y, r.width, r.height), 0, text});
      g_sheet.openBox = int(g_sheet.boxes.size()) - 1;
      opened = true;
    }
    ~Boxed() {
      if (opened) g_sheet.openBox = -1;
    }
    bool opened = false;
  };

  std::string id_;
  std::unique_ptr<AngelFont> real_;
};

// A key that was drawn as it is instead of its text.
bool looksLikeKey(const std::string& text) {
  static const std::regex key("[A-Z][A-Z0-9]*(_[A-Z0-9]+)+");
  return std::regex_match(text, key);
}

// --- the walk: the runner's application with the measuring fonts in place ---

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
        if (auto* level = dynamic_cast<LevelScreen*>(states[s]))
          for (const auto& p : level->model().entryMarkers)
            if (a.overlaps(Area{p.x - kMarkerReach, p.y - kMarkerReach, 2 * kMarkerReach, 2 * kMarkerReach}))
              faults.push_back("the music banner " + a.str() + " covers the lane entry at " + std::to_string(int(p.x)) +
                               "," + std::to_string(int(p.y)));
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
            if (b->isVisible() && b->getButtonId() >= 601 && b->getButtonId() <= 608)
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

Walk& walk() {
  static Walk w;
  return w;
}

// A board of the given mission's mode with twelve pilots and the player on it.
void fillBoard(store::FakeStore& fake, const std::string& board) {
  for (int i = 0; i < 12; ++i)
    fake.addScore(board, 500 + i, 90000 - 2500 * i, i == 3 ? "A pilot with a rather long call sign" : "pilot");
  fake.addScore(board, fake.userId(), 81000, "Commander");
}

// The pointer moved there as the mouse moves it; the level follows it next frame.
void pointAt(Walk& w, LevelScreen& level, float x, float y) {
  w.runner().perform(level, levelrunner::Command{0, "pointer", {std::to_string(int(x)), std::to_string(int(y))}});
  w.frames(1);
}

// The cells a tower can stand on, a few apart so the field stays readable.
std::vector<std::pair<int, int>> freeCells(LevelScreen& level) {
  std::vector<std::pair<int, int>> cells;
  const std::vector<int>& grid = level.placementGrid();
  for (int row = 1; row < 23; row += 2)
    for (int column = 1; column < 31; column += 2) {
      const int cell = row * 32 + column;
      if (cell < int(grid.size()) && grid[size_t(cell)] == 0) cells.emplace_back(column, row);
    }
  return cells;
}

}  // namespace

// The level's panels: the battle, the hover text of every build button, every
// tower kind selected at every upgrade level, the trade page used and left, and
// the results over the level, won and lost, with a full scores panel.
TEST(LayoutCheck, LevelPanelsInEveryState) {
  Walk& w = walk();
  w.clear();
  // The first mission opens under its tutorial.
  w.app().changeState(new LevelScreen(0, "content/levels/mission_00.xml", MODE_CLASSIC, 1));
  w.frames(200);
  w.check("first mission with its tutorial");
  // Put away, it lets the music banner slide in, clear of the lane's entry.
  ASSERT_NE(dynamic_cast<TutorialScreen*>(w.app().topState()), nullptr);
  w.app().popState();
  w.app().deleteQueuedStates();
  w.frames(40);
  w.check("first mission, its music banner in");
  w.clear();
  // The third mission's lanes enter where the wave list would stand by default.
  auto* third = new LevelScreen(2, "content/levels/mission_02.xml", MODE_CLASSIC, 1);
  w.app().changeState(third);
  for (int i = 0; i < 600 && !third->bridge().ready(); ++i) w.frames(1);
  w.check("third mission at its start");
  w.clear();

  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  fillBoard(fake, CSteamLeaderboards::leaderboardName(1, MODE_ALLTOWERS));
  CSteamLeaderboards boards(&fake);
  g_leaderboards = &boards;

  // The second mission: the first one lays its tutorial over the whole level.
  auto* level = new LevelScreen(1, "content/levels/mission_01.xml", MODE_ALLTOWERS, 1);
  w.app().changeState(level);
  for (int i = 0; i < 600 && !level->bridge().ready(); ++i) w.frames(1);
  ASSERT_TRUE(level->bridge().ready());
  level->addCredits(1.0e6);
  w.frames(2);
  w.check("battle, before the first tower");

  const std::vector<xBaseTowerDesc*> kinds = level->towerDescriptions();
  ASSERT_GE(kinds.size(), 10u);
  size_t longest = 0;
  for (size_t k = 0; k < kinds.size(); ++k) {
    const bge::Button* button = level->bridge().findTowerButton(100 + int(k));
    ASSERT_NE(button, nullptr);
    pointAt(w, *level, button->getX() + button->getWidth() / 2, button->getY() + button->getHeight() / 2);
    level->onButtonEvent(100 + int(k), bge::ButtonListener::PointerEntered);
    w.check("hover over the build button of " + kinds[k]->towerType);
    if (kinds[k]->towerType == "TOWER_NAME_DT") {
      EXPECT_TRUE(w.saw(layout::lookupText("DRONE_DAMAGE"))) << "a drone station's figure";
    }
    level->onButtonEvent(100 + int(k), bge::ButtonListener::PointerLeft);
    if (layout::lookupText(kinds[k]->info).size() > layout::lookupText(kinds[longest]->info).size()) longest = k;
  }
  level->onButtonEvent(100 + int(longest), bge::ButtonListener::PointerEntered);
  w.check("hover over the build button with the longest description");
  level->onButtonEvent(100 + int(longest), bge::ButtonListener::PointerLeft);

  std::vector<std::pair<int, int>> cells = freeCells(*level);
  ASSERT_GE(cells.size(), 2 * kinds.size());
  size_t nextCell = 0;
  size_t selectedKinds = 0;
  for (xBaseTowerDesc* desc : kinds) {
    const auto [column, row] = cells[nextCell++];
    level->selection().chooseTowerDesc(desc);
    level->buyTower(column, row, desc);
    // A drone station stands in pairs; the second half goes on the next cell.
    if (level->selection().placingPair()) {
      level->showTowerInfo(level->selection().tower());  // as the click that placed it does
      w.check("placing the second half of " + desc->towerType);
      const auto [c2, r2] = cells[nextCell++];
      level->buyTower(c2, r2, desc);
    }
    // A placed beacon waits for a click on a drone station, and the panel says so:
    // a hint to click anything else leaves the player clicking the field in vain.
    if (level->selection().attachingBeacon()) {
      w.check("the placed beacon waiting for a drone station");
      EXPECT_TRUE(w.saw(layout::lookupText("TOWER_WT_STEP_2"))) << "the beacon's second step";
      std::string hint = layout::lookupText("TOWER_WT_STEP_2_DESC"), station = layout::lookupText("TOWER_NAME_DT");
      for (std::string* s : {&hint, &station})
        for (char& c : *s) c = char(std::tolower(static_cast<unsigned char>(c)));
      EXPECT_NE(hint.find("click a " + station), std::string::npos) << "the beacon's second step: " << hint;
    }
    level->cancelPendingPlacement();
    level->selection().chooseTowerDesc(nullptr);
    xBaseTowerEntity* tower = levelrunner::towerAt(*level, column, row);
    if (!tower) continue;  // the beacon needs a drone station's path to stand on
    ++selectedKinds;
    // A click on it, as the runner's "select" makes one: a tower placed a
    // moment ago is let go first.
    if (tower->isSelected()) tower->toggleSelected();
    tower->toggleSelected();
    w.frames(1);
    EXPECT_EQ(level->bridge().shownTower(), tower) << desc->towerType;
    for (int upgrade = 0;; ++upgrade) {
      w.check(desc->towerType + " selected at upgrade " + std::to_string(upgrade));
      // Every figure the panel writes says what it is: no bare ": 0%", no "[800]".
      for (const Line& l : w.lastLines())
        EXPECT_TRUE(l.text.find(": 0%") == std::string::npos && l.text.find('[') == std::string::npos) << l.text;
      if (upgrade >= 3 || !level->upgradeTower(tower)) break;
      w.frames(1);
    }
    // The trade page, used and left: the strategy page comes back as it was.
    level->onButtonEvent(612, bge::ButtonListener::Released);
    w.check(desc->towerType + " with the trade page open");
    level->onButtonEvent(611, bge::ButtonListener::Released);
    w.check(desc->towerType + " after the trade page was closed");
    tower->toggleSelected();
    level->showTowerInfo(nullptr);
  }
  EXPECT_GE(selectedKinds, kinds.size() - 1) << "every kind but the beacon stands on its own";
  // The towers the stations reach, with the boosts they get in their panels.
  int boosted = 0;
  for (size_t i = 0; i < nextCell; ++i) {
    xBaseTowerEntity* t = levelrunner::towerAt(*level, cells[i].first, cells[i].second);
    if (!t || t->isSupportTower() || (t->getLastDamageFactor() <= 1.0f && t->getLastInterestBonus() <= 0)) continue;
    ++boosted;
    t->toggleSelected();
    w.frames(1);
    w.check(t->getName() + " with the boosts of the stations around it");
    t->toggleSelected();
    level->showTowerInfo(nullptr);
  }
  EXPECT_GT(boosted, 0);

  level->sendNextWave();
  w.frames(30);
  pointAt(w, *level, 500, 54);  // on the field, level with the bridge's counters
  w.check("battle, towers standing");

  for (bool won : {true, false}) {
    LevelStats stats = level->makeStats();
    stats.victory = won;
    stats.lives = won ? 12 : 0;
    auto* results = new PostLevelScreen(stats);
    w.app().changeState(results);
    w.frames(60, &fake);
    ASSERT_NE(results->leaderboard(), nullptr);
    EXPECT_FALSE(results->leaderboard()->entries().empty()) << "the full board arrived";
    w.check(std::string("results, ") + (won ? "won" : "lost") + ", full scores panel");
    w.app().popState();
    w.app().deleteQueuedStates();
  }

  auto* pause = new GamePauseScreen();
  w.app().changeState(pause);
  w.frames(30);
  w.check("pause over the level");
  w.app().popState();
  w.app().deleteQueuedStates();
  auto* help = new GameHelpScreen();
  w.app().changeState(help);
  w.frames(30);
  w.check("help over the level");
  w.clear();

  g_leaderboards = nullptr;
}

// The menus: title, options (and what a toggled spectrum leaves), credits, the
// new-game question, mission control on a new profile with its tutorial and an
// empty scores panel, and every page of the encyclopedia.
TEST(LayoutCheck, MenuScreens) {
  Walk& w = walk();
  w.clear();
  store::FakeStore fake(CSteamLeaderboards::allLeaderboardNames());
  CSteamLeaderboards boards(&fake);
  g_leaderboards = &boards;
  Profile* profile = w.profile();
  profile->resetProgress();
  profile->setSpectrumEnabled(true);

  auto* title = new MainMenu(0, profile);
  w.app().changeState(title);
  w.frames(12);
  w.check("title screen, its music banner sliding in");

  // The profile asks for full screen, the window is not: the box shows the window.
  profile->setFullscreen(true);
  title->onButtonEvent(MainMenu::kOptions, bge::ButtonListener::Released);
  auto* options = dynamic_cast<OptionsScreen*>(w.app().topState());
  ASSERT_NE(options, nullptr);
  w.frames(30);
  w.check("options over the title");
  for (Widget* widget : options->getWidgets()) {
    auto* box = dynamic_cast<bge::CheckBox*>(widget);
    if (box && box->getCheckBoxId() == OptionsScreen::kFullScreenBox) {
      EXPECT_FALSE(box->isChecked()) << "the game runs in a window";
    }
  }
  profile->setFullscreen(false);
  for (Widget* widget : options->getWidgets()) {
    auto* box = dynamic_cast<bge::CheckBox*>(widget);
    if (box && box->getCheckBoxId() == OptionsScreen::kSpectrumBox) box->setChecked(false);
  }
  options->onCheckBoxChanged(OptionsScreen::kSpectrumBox, false);
  w.check("options after the spectrum was switched off");
  const KeyEvent escape = [] {
    KeyEvent e;
    e.key = 27;
    e.kind = KeyEvent::Pressed;
    return e;
  }();
  options->onButtonEvent(OptionsScreen::kResolutionButton, bge::ButtonListener::Released);
  w.frames(30);
  ASSERT_NE(dynamic_cast<ResolutionScreen*>(w.app().topState()), nullptr);
  w.check("resolution over the options");
  w.app().topState()->onKeyEvent(escape);
  w.frames(40);
  ASSERT_EQ(w.app().topState(), options);
  options->onButtonEvent(OptionsScreen::kCreditsButton, bge::ButtonListener::Released);
  w.frames(1);
  auto* credits = dynamic_cast<CreditsScreen*>(w.app().topState());
  ASSERT_NE(credits, nullptr);
  const size_t captions = std::max(credits->leftCaptions().size(), credits->rightCaptions().size());
  for (size_t i = 0; i < captions; ++i) {
    if (i > 0) credits->actionFinished(CreditsScreen::kScatterOver);  // the next caption of each column
    w.frames(400);  // the letters gather
    w.check(i == 0 ? std::string("credits") : "credits, caption " + std::to_string(i + 1));
  }
  w.app().topState()->onKeyEvent(escape);
  w.frames(40);
  ASSERT_EQ(w.app().topState(), options);
  options->onButtonEvent(OptionsScreen::kBackButton, bge::ButtonListener::Released);
  w.frames(40);
  ASSERT_EQ(w.app().topState(), title);
  w.check("title screen after the spectrum was switched off");
  EXPECT_TRUE(!title->spectrum() || !title->spectrum()->isVisible()) << "the spectrum goes when the options close";

  profile->setHasProgress(true);
  title->onButtonEvent(MainMenu::kNewGame, bge::ButtonListener::Released);
  w.frames(30);
  w.check("new-game question over the title");
  w.clear();

  // A new player's first visit: the tutorial lies over mission control at once.
  profile->resetProgress();
  profile->setSpectrumEnabled(true);
  auto* control = new MissionControl(-1, profile);
  w.app().changeState(control);
  w.frames(60, &fake);
  auto* tutorial = dynamic_cast<TutorialScreen*>(w.app().topState());
  EXPECT_NE(tutorial, nullptr) << "a new player meets the tutorial on the first visit";
  w.check("mission control with its tutorial");
  if (tutorial) {
    w.app().popState();
    w.app().deleteQueuedStates();
  }
  w.frames(200, &fake);
  ASSERT_EQ(w.app().topState(), control);
  w.check("mission control, empty scores panel");
  EXPECT_TRUE(w.saw(layout::lookupText("NO_SCORES_YET"))) << "an empty board is no failure";

  control->onButtonEvent(MissionControl::kEncyclopediaButton, bge::ButtonListener::Released);
  w.frames(30);
  ASSERT_NE(dynamic_cast<EncyclopediaScreen*>(w.app().topState()), nullptr);
  w.check("encyclopedia");
  for (int page = 0; page < 2; ++page) {
    EncyclopediaPage* shown = page == 0 ? static_cast<EncyclopediaPage*>(new EncyclopediaTowersScreen())
                                        : static_cast<EncyclopediaPage*>(new EncyclopediaAliensScreen());
    w.app().changeState(shown);
    w.frames(30);
    ASSERT_FALSE(shown->files().empty());
    for (size_t i = 0; i < shown->files().size(); ++i) {
      shown->showEntry(int(i));
      w.check("encyclopedia page " + shown->files()[i]);
      // A ship is named as a tower is, from its label, not by its class word in capitals.
      if (auto* aliens = dynamic_cast<EncyclopediaAliensScreen*>(shown)) {
        EXPECT_TRUE(w.saw(layout::lookupText("ENEMY_NAME_" + toUpperCase(aliens->enemyClass())))) << aliens->enemyClass();
      }
      // Each bar of a tower that deals damage has a length: an empty one reads as none.
      auto* towers = dynamic_cast<EncyclopediaTowersScreen*>(shown);
      for (const GraphicsCall& track : w.lastCalls()) {
        if (!towers || towers->damage() <= 0 || track.op != "drawRect" || track.w != EncyclopediaTowersScreen::kBarTrack)
          continue;
        EXPECT_TRUE(std::any_of(w.lastCalls().begin(), w.lastCalls().end(), [&](const GraphicsCall& bar) {
          return bar.op == "fillRect" && bar.x == track.x && bar.y == track.y && bar.w > 0;
        })) << shown->files()[i] << ": an empty bar at y " << track.y;
      }
    }
    w.app().popState();
    w.app().deleteQueuedStates();
  }
  w.clear();
  // The second visit comes without the tutorial.
  control = new MissionControl(-1, profile);
  w.app().changeState(control);
  w.frames(60, &fake);
  EXPECT_EQ(w.app().topState(), control) << "the tutorial shows once";
  w.clear();
  g_leaderboards = nullptr;
}
