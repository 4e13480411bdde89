// How mission control draws itself around its widgets: the background, the
// stars, the station glow, badges, map shots and slot marks underneath; the
// station panel, the mission's texts, the mode text and the captions on top.
#include <cstdio>

#include "DesignSize.h"
#include "Font.h"
#include "GameApp.h"
#include "LabelManager.h"
#include "Graphics.h"
#include "Menus/MenuPalette.h"
#include "Menus/MissionControl.h"
#include "music/AudioAnalyserWidget.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "widgets/Button.h"
#include "widgets/LayoutReading.h"

namespace {

const Color kWhite(255, 255, 255, 255);
const Color kAmber(255, 170, 0, 255);
const Color kCyan(0, 255, 255, 255);
const Color kRed(255, 0, 0, 255);
const Color kCrossHair(0, 255, 184, 32);
const Color kBackgroundTint(0, 255, 255, 255);
const Color kBackgroundWash(0, 74, 55, 64);
const Color kStar(150, 125, 0, 255);
// Badges and result icons are drawn at half their size, to fit on a map shot.
constexpr int kBadgeScale = 2;
constexpr int kBadgeStep = 32;
// The band across a refused mission's map shot.
constexpr int kRefusedBandH = 36;

const char* const kBadgeOn[3] = {"TEX_DIFF_EASY_ON", "TEX_DIFF_NORMAL_ON", "TEX_DIFF_HARD_ON"};
const char* const kBadgeOff[3] = {"TEX_DIFF_EASY_OFF", "TEX_DIFF_NORMAL_OFF", "TEX_DIFF_HARD_OFF"};
const char* const kDifficultyLabels[3] = {"DIFF_EASY", "DIFF_NORMAL", "DIFF_HARD"};

void text(Graphics* g, Font* font, float x, float y, float w, float h, const std::string& s, const Color& c,
          int hAlign, int vAlign, bool wrap) {
  if (font) font->drawTextAligned(g, Rect5(x, y, w, h), s, c, hAlign, vAlign, wrap);
}

// Station and mission fields are label ids; one that names no label is shown
// as written.
std::string fieldText(const std::string& key) {
  GameApp* app = GameApp::instance();
  const LabelManager* table = app ? app->gameMessages() : nullptr;
  return table && table->hasLabel(key) ? table->getLabel(key) : key;
}

// The shared textures the screen draws: the glow and badges come with the
// global list, the result icons with the level list it registers in prepare.
Texture* sharedTexture(const char* key) {
  Texture* t = globalTexture(key);
  return t ? t : levelTexture(key);
}

void drawScaled(Graphics* g, int x, int y, Texture* t) {
  if (!t) return;
  const float w = static_cast<float>(t->getWidth());
  const float h = static_cast<float>(t->getHeight());
  g->drawImage(x, y, static_cast<unsigned>(t->getWidth() / kBadgeScale),
               static_cast<unsigned>(t->getHeight() / kBadgeScale), t, SourceRect(0.0f, 0.0f, w, h), kWhite);
}

}  // namespace

void MissionControl::drawBackground(Graphics* g) {
  // Under the tutorial this screen is not updated and stands still; the spectrum alone
  // goes on following the music, read as each frame is drawn.
  if (spectrum_ && !isActive()) spectrum_->analyse();
  if (background_) {
    g->drawImage(0, 0, background_, kBackgroundTint);
    g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kBackgroundWash);
  }
  for (const DriftingStar& star : stars_) {
    int x = 0, y = 0, alpha = 0;
    if (!projectStar(star, &x, &y, &alpha)) continue;
    g->fillRect(x, y, 2, 2, Color(kStar.r, kStar.g, kStar.b, alpha));
  }
  // The panels lie over the stars so the drift never shows through the texts.
  if (panels_) g->drawImage(0, 0, panels_, kBackgroundTint);
  if (selection_.station()) {
    if (Texture* glow = sharedTexture("TEX_ITEM_GLOW")) {
      g->pushMatrix();
      g->translate(markerBox_.x + markerBox_.width * 0.5f, markerBox_.y + markerBox_.height * 0.5f);
      g->scale(pulseScale_, pulseScale_);
      g->translate(-markerBox_.width * 0.5f, -markerBox_.height * 0.5f);
      g->drawImage(0, 0, glow, kWhite);
      g->popMatrix();
    }
  }
  drawSlots(g);
}

void MissionControl::drawSlots(Graphics* g) {
  SpaceStation* station = selection_.station();
  if (!station) return;
  const auto& missions = station->missions();
  for (size_t j = 0; j < missions.size(); ++j) {
    Texture* shot = missions[j]->mapShotTexture();
    if (!shot) continue;
    const int x = kMapShotX + kMapShotStep * static_cast<int>(j);
    g->drawImage(x, kMapShotY, kMapShotW, kMapShotH, shot,
                 SourceRect(0.0f, 0.0f, static_cast<float>(shot->getWidth()), static_cast<float>(shot->getHeight())),
                 kWhite);
    // The slot button's hit box leaves the badges and the difficulty row out;
    // its hover frame, fading with the button's own, lies on the whole shot.
    const bge::Button* slot = findButton(kFirstSlotButton + static_cast<int>(j));
    if (slotHover_ && slot && slot->isVisible() && slot->getHoverColor().a > 0)
      g->drawImage(x, kMapShotY, kMapShotW, kMapShotH, slotHover_,
                   SourceRect(0.0f, 0.0f, static_cast<float>(slotHover_->getWidth()),
                              static_cast<float>(slotHover_->getHeight())),
                   Color(255, 255, 255, slot->getHoverColor().a));
  }
  Font* big = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS24");
  for (size_t j = 0; j < missions.size() && j < MissionSelection::kSlots; ++j) {
    bge::Button* button = findButton(kFirstSlotButton + static_cast<int>(j));
    if (!button) continue;
    const Rect5& box = button->getGeometry();
    Mission* mission = missions[j];
    // Badges of this mission in the chosen mode; endless earns none.
    if (selection_.mode() != MissionSelection::kEndlessMode && profile_) {
      for (int d = 0; d < Profile::kDifficultyCount; ++d) {
        const bool won = profile_->hasBadge(mission->id(), selection_.mode(), d);
        drawScaled(g, static_cast<int>(box.x + box.width), static_cast<int>(box.y + 4 + kBadgeStep * d),
                   sharedTexture(won ? kBadgeOn[d] : kBadgeOff[d]));
      }
    }
    if (!mission->isEnabled()) {
      const float x = box.x, y = box.y, w = box.width, h = box.height;
      g->drawLine(Graphics::Vec2(x + w - 7, y + h - 7), Graphics::Vec2(x + 7, y + 7), 0.2f, true, kRed, 0, 0);
      g->drawLine(Graphics::Vec2(x + w - 7, y + 7), Graphics::Vec2(x + 7, y + h - 7), 0.2f, true, kRed, 0, 0);
      text(g, big, x, y, w, h, layout::lookupText("MISSION_LOCKED"), kRed, Font::AlignCenter, Font::AlignMiddle,
           false);
    }
    // A level file refused this run marks its card, across the whole map shot, until the game quits.
    if (profile_ && !profile_->missionRefusal(mission->id()).empty()) {
      const int shotX = kMapShotX + kMapShotStep * static_cast<int>(j);
      const int bandY = kMapShotY + static_cast<int>(kMapShotH) / 2 - kRefusedBandH / 2;
      const int shotW = static_cast<int>(kMapShotW);
      g->fillRect(shotX, bandY, shotW, kRefusedBandH, palette::panelFill());
      g->drawRect(shotX, bandY, shotW, kRefusedBandH, palette::panelEdge(), false);
      text(g, big, static_cast<float>(shotX), static_cast<float>(bandY), static_cast<float>(shotW), kRefusedBandH,
           layout::lookupText("MISSION_REFUSED"), kRed, Font::AlignCenter, Font::AlignMiddle, false);
    }
    // The won table only knows the campaign's ids; another id shows a defeat.
    const int id = mission->id();
    const bool won = profile_ && id >= 0 && id < Profile::kMissionCount && profile_->isMissionWon(id);
    drawScaled(g, static_cast<int>(box.x + 12), static_cast<int>(box.y + 4),
               sharedTexture(won ? "TEX_VICTORY_ICON" : "TEX_DEFEAT_ICON"));
  }
}

void MissionControl::drawForeground(Graphics* g) {
  drawStationPanel(g);
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS20");
  text(g, font, 510, 310, 256, 32, layout::lookupText("MISSION_SCORES"), kAmber, Font::AlignLeft, Font::AlignTop,
       false);
  drawMissionTexts(g);
  const float px = static_cast<float>(pointerX_), py = static_cast<float>(pointerY_);
  g->drawLine(Graphics::Vec2(0, py), Graphics::Vec2(px - 8, py), 0.1f, true, kCrossHair, 0, 0);
  g->drawLine(Graphics::Vec2(px + 8, py), Graphics::Vec2(bge::kDesignWidth, py), 0.1f, true, kCrossHair, 0, 0);
  g->drawLine(Graphics::Vec2(px, 0), Graphics::Vec2(px, py - 8), 0.1f, true, kCrossHair, 0, 0);
  g->drawLine(Graphics::Vec2(px, py + 8), Graphics::Vec2(px, bge::kDesignHeight), 0.1f, true, kCrossHair, 0, 0);
  const int mode = selection_.mode();
  if (mode >= 0 && static_cast<size_t>(mode) < modeDescriptions_.size())
    text(g, font, 1048, 475, 200, 192, modeDescriptions_[static_cast<size_t>(mode)], kWhite, Font::AlignLeft,
         Font::AlignTop, true);
  if (mode == MissionSelection::kEndlessMode) return;
  Font* small = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS16");
  for (int j = 0; j < MissionSelection::kSlots; ++j) {
    bge::Button* button = findButton(kFirstSlotButton + j);
    if (!button || !button->isVisible()) continue;
    const Rect5& box = button->getGeometry();
    const int d = selection_.slotDifficulty(j);
    const char* label = d >= 0 && d < 3 ? kDifficultyLabels[d] : kDifficultyLabels[0];
    text(g, small, box.x, box.y, box.width - 6, box.height - 6, layout::lookupText(label), kCyan, Font::AlignRight,
         Font::AlignBottom, false);
  }
}

void MissionControl::drawStationPanel(Graphics* g) {
  SpaceStation* s = selection_.station();
  if (!s) return;
  Font* title = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS46");
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS20");
  text(g, title, 92, 42, 512, 60, layout::lookupText("LABEL_COMMANDBRIDGE"), kWhite, Font::AlignLeft,
       Font::AlignTop, false);
  text(g, title, 92, 648, 512, 60, layout::lookupText("STATION_NAME") + fieldText(s->code()), kAmber,
       Font::AlignLeft, Font::AlignTop, false);
  struct Row {
    const char* caption;
    const std::string& value;
    float y;
    bool wrap;
  };
  const Row rows[] = {{"STATION_COMMANDER", s->commander(), 280, false}, {"STATION_TYPE", s->type(), 310, true},
                      {"STATION_CREW", s->crew(), 360, true},           {"STATION_WEAPONRY", s->weapons(), 434, true},
                      {"STATION_COMM", s->communication(), 520, true},  {"STATION_POWER", s->power(), 600, true}};
  for (const Row& r : rows) {
    text(g, font, 105, r.y, 370, 64, layout::lookupText(r.caption), kAmber, Font::AlignLeft, Font::AlignTop, false);
    text(g, font, 225, r.y, 242, 64, fieldText(r.value), kWhite, Font::AlignLeft, Font::AlignTop, r.wrap);
  }
}

void MissionControl::drawMissionTexts(Graphics* g) {
  Mission* m = selection_.mission();
  if (!m) return;
  Font* font = findOrLoadFont(getResourceManager(), "FONT_NOTOSANS20");
  char key[32];
  std::snprintf(key, sizeof key, m->id() <= 9 ? "MISSION_NAME_00%d" : "MISSION_NAME_0%d", m->id());
  text(g, font, 860, 310, 320, 320, layout::lookupText(key), kAmber, Font::AlignLeft, Font::AlignTop, false);
  text(g, font, 860, 342, 360, 320, fieldText(m->job()), kCyan, Font::AlignLeft, Font::AlignTop, true);
  // Under the job, above the modes: where the player looks on coming back from the refused launch.
  const std::string& refusal = profile_ ? profile_->missionRefusal(m->id()) : std::string();
  if (refusal.empty()) return;
  text(g, font, 860, 386, 470, 28, layout::lookupText("MISSION_REFUSED_BRIEF"), kRed, Font::AlignLeft,
       Font::AlignTop, false);
  text(g, findOrLoadFont(getResourceManager(), "FONT_NOTOSANS16"), 860, 413, 470, 48, refusal, kWhite,
       Font::AlignLeft, Font::AlignTop, true);
}
