#include "Menus/EncyclopediaPages.h"

#include <tinyxml.h>

#include <algorithm>
#include <cmath>

#include "AssertReport.h"
#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "Font.h"
#include "GameApp.h"
#include "Graphics.h"
#include "KeyEvent.h"
#include "Menus/MenuLayout.h"
#include "System/DisplayText.h"
#include "System/GameFonts.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "XmlAttributes.h"
#include "widgets/LayoutReading.h"

namespace {
constexpr int kFadeMs = 256;
constexpr int kEscape = 27;
constexpr int kNearest = 0x2600;
const Color kWhite(255, 255, 255, 255);
const Color kPale(190, 240, 255, 255);
const Color kCaption(0, 255, 255, 255);
const Color kValue(255, 170, 0, 255);
// The aliens page's text places.
constexpr float kClassWordWidth = 400.0f;
constexpr int kDescriptionWidth = 600;
constexpr int kShieldCaptionY = 480;
constexpr int kShieldGap = 26;
constexpr int kShieldSize = 64;
// The towers page's range bar.
constexpr int kRangeBarY = 260;

// The height of a text wrapped to the width: its lines at the font's line height.
int wrappedHeight(Font* font, const std::string& text, int width) {
  std::string lines;
  font->wrapText(text, lines, width);
  return (1 + static_cast<int>(std::count(lines.begin(), lines.end(), '\n'))) * font->getLineHeight();
}
// The picture cell both pages centre their entity in.
constexpr int kCellX = 350, kCellY = 180, kCellW = 160, kCellH = 156;

// Ship sprites are small: they are shown at the largest whole multiple (up
// to four) that fits the cell, so their pixels stay sharp.
constexpr int kLargestZoom = 4;
void drawCentredInCell(Graphics* g, Texture* texture) {
  if (!texture || texture->getWidth() <= 0 || texture->getHeight() <= 0) return;
  int zoom = std::min(kCellW / texture->getWidth(), kCellH / texture->getHeight());
  zoom = std::clamp(zoom, 1, kLargestZoom);
  const int w = texture->getWidth() * zoom;
  const int h = texture->getHeight() * zoom;
  g->drawImage(kCellX + (kCellW - w) / 2, kCellY + (kCellH - h) / 2, static_cast<unsigned>(w),
               static_cast<unsigned>(h), texture,
               SourceRect(0.0f, 0.0f, static_cast<float>(texture->getWidth()), static_cast<float>(texture->getHeight())),
               kWhite);
}
}  // namespace

// --- the page pattern ---

EncyclopediaPage::EncyclopediaPage(const char* className, const char* layoutFile, const char* listElement)
    : ScreenBase(""), className_(className), layoutFile_(layoutFile), listElement_(listElement) {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

void EncyclopediaPage::init() {
  const std::string list = listElement_;
  loadMenuLayout(this, layoutFile_, className_, layoutListeners(this),
                 [this, &list](const bge::XmlReader& xml, TiXmlElement* element) {
                   if (element->ValueStr() != list) return;
                   for (TiXmlElement* child = element->FirstChildElement(); child;
                        child = child->NextSiblingElement()) {
                     const std::string file = xml.readString(child, "file", "");
                     if (file.empty()) xml.warn(child, "names no entity file");
                     else files_.push_back(file);
                   }
                 });
  showEntry(0);
}

Texture* EncyclopediaPage::picture(const std::string& path) {
  if (path.empty() || path == "NONE") return nullptr;
  ResourceManager* resources = app_ && app_->globalResourceManager() ? app_->globalResourceManager()
                                                                     : getResourceManager();
  return layout::findOrCreateTexture(resources, path, kNearest);
}

Font* EncyclopediaPage::font(const char* id) { return findOrLoadFont(getResourceManager(), id); }

void EncyclopediaPage::drawHeading(Graphics* g, const char* key) {
  if (Font* big = font("FONT_NOTOSANS46"))
    big->drawTextAligned(g, Rect5(0, 64, bge::kDesignWidth, 32), layout::lookupText(key), kWhite, Font::AlignCenter, 2,
                         false);
}

void EncyclopediaPage::showEntry(int index) {
  if (index < 0 || index >= static_cast<int>(files_.size())) return;
  current_ = index;
  const std::string& file = files_[static_cast<size_t>(index)];
  if (!BGE_REPORT_MSG(!file.empty(), "Filename is empty.")) return;
  const bge::XmlReader xml(file);
  TiXmlDocument doc;
  if (!BGE_ERROR_MSG(xml.load(doc), ("the entry " + file + " cannot be read; the page keeps what it showed").c_str()))
    return;
  TiXmlElement* root = xml.root(doc, "Entity");
  if (!BGE_ERROR_MSG(root != nullptr, ("the entry " + file + " holds no <Entity>; the page keeps what it showed").c_str()))
    return;
  readEntry(xml, root);
}

void EncyclopediaPage::previous() {
  if (files_.empty()) return;
  const int count = static_cast<int>(files_.size());
  showEntry((current_ - 1 + count) % count);
}

void EncyclopediaPage::next() {
  if (files_.empty()) return;
  showEntry((current_ + 1) % static_cast<int>(files_.size()));
}

void EncyclopediaPage::onButtonEvent(int buttonId, int kind) {
  if (kind == bge::ButtonListener::PointerEntered) {
    SfxContainer::instance()->playSound("SFX_BTN_OVER");
    return;
  }
  if (kind != bge::ButtonListener::Released || getPhase() == PhaseExiting) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  if (buttonId == kPreviousButton) previous();
  else if (buttonId == kNextButton) next();
  else if (buttonId == kCloseButton) close(kExitClose, true);
}

void EncyclopediaPage::onKeyEvent(const KeyEvent& event) {
  ScreenBase::onKeyEvent(event);
  if (event.kind == KeyEvent::Pressed && event.key == kEscape && getPhase() != PhaseExiting) close(kExitEscape, true);
}

void EncyclopediaPage::onExitTransitionDone(int exitCode) {
  (void)exitCode;
  if (!app_) return;
  app_->setOverlayFlag(false);
  app_->finishState(this);
}

// --- aliens ---

namespace {
const EncyclopediaAliensScreen::ClassInfo kClasses[] = {
    {"scout", "DESC_SCOUT", 0.1f, "TEX_SHIELD_SCOUT"},
    {"rower", "DESC_ROWER", 0.2f, "TEX_SHIELD_ROWER"},
    {"grasshopper", "DESC_GRASSHOPPER", 0.35f, "TEX_SHIELD_GRASSHOPPER"},
    {"spacedog", "DESC_SPACEDOG", 0.45f, "TEX_SHIELD_SPACEDOG"},
    {"bull", "DESC_BULL", 0.6f, "TEX_SHIELD_BULL"},
    {"catcher", "DESC_CATCHER", 0.75f, "TEX_SHIELD_CATCHER"},
    {"hellraiser", "DESC_HELLRAISER", 0.9f, "TEX_SHIELD_HELLRAISER"},
    {"destroyer", "DESC_DESTROYER", 1.0f, "TEX_SHIELD_DESTROYER"},
};
// The threat bar warms from the player's cyan to the enemies' red.
Color threatColor(float threat) {
  return Color(static_cast<int>(80 + 175 * threat), static_cast<int>(220 - 170 * threat),
               static_cast<int>(255 - 215 * threat), 255);
}
}  // namespace

const EncyclopediaAliensScreen::ClassInfo* EncyclopediaAliensScreen::findClass(const std::string& word) {
  for (const ClassInfo& info : kClasses)
    if (word == info.word) return &info;
  return nullptr;
}

EncyclopediaAliensScreen::EncyclopediaAliensScreen()
    : EncyclopediaPage("EncyclopediaAliensScreen", kLayoutFile, "Aliens") {}

void EncyclopediaAliensScreen::readEntry(const bge::XmlReader& xml, TiXmlElement* entity) {
  picture_ = picture(xml.readString(entity, "texturePath", ""));
  class_ = xml.readString(entity, "class", "");
  energy_ = xml.readInt(entity, "energy", 0);
}

int EncyclopediaAliensScreen::threatBarWidth() const {
  const ClassInfo* info = findClass(class_);
  return info ? static_cast<int>(info->threat * kThreatBarWidth) : 0;
}

void EncyclopediaAliensScreen::drawForeground(Graphics* g) {
  drawHeading(g, "ENCYCLOPEDIA_ALIENS");
  drawCentredInCell(g, picture_);
  const ClassInfo* info = findClass(class_);
  Font* text = font("FONT_NOTOSANS24");
  if (!text) return;
  text->drawTextAligned(g, Rect5(484.0f, 144.0f, kClassWordWidth, 30.0f), enemyName(class_), kPale, Font::AlignLeft, 3,
                        false);
  Font* small = font("FONT_NOTOSANS20");
  if (small) small->drawText(g, 370, 384, layout::lookupText("ENEMY_DESC"), kCaption);
  // The description takes the lines it needs; the shield follows below it.
  int shieldY = kShieldCaptionY;
  if (info) {
    const std::string description = layout::lookupText(info->descriptionKey);
    const int height = wrappedHeight(text, description, kDescriptionWidth);
    text->drawTextAligned(g, Rect5(370.0f, 412.0f, static_cast<float>(kDescriptionWidth), static_cast<float>(height)), description, kWhite, Font::AlignLeft, 3, true);
    shieldY = std::max(shieldY, 412 + height + 4);
  }
  if (small) small->drawText(g, 370, shieldY, layout::lookupText("SHIELD_TYPE"), kCaption);
  if (info) {
    if (Texture* shield = globalTexture(info->shieldTexture))
      g->drawImage(370, shieldY + kShieldGap, kShieldSize, kShieldSize, shield,
                   SourceRect(0, 0, shield->getWidth(), shield->getHeight()), kWhite);
  }
  if (small) small->drawText(g, 650, 216, layout::lookupText("ENCYCLOPEDIA_THREAT"), kCaption);
  g->drawRect(650, 243, kThreatBarWidth, 31, Color(80, 220, 255, 255), false);
  if (threatBarWidth() > 0) g->fillRect(650, 243, threatBarWidth(), 31, threatColor(info ? info->threat : 0.0f));
  if (small) small->drawText(g, 650, 292, layout::lookupText("ENERGY"), kCaption);
  text->drawText(g, 800, 290, amountText(energy_), kValue);
}

// --- towers ---

EncyclopediaTowersScreen::EncyclopediaTowersScreen()
    : EncyclopediaPage("EncyclopediaTowersScreen", kLayoutFile, "Towers") {}

void EncyclopediaTowersScreen::readEntry(const bge::XmlReader& xml, TiXmlElement* entity) {
  picture_ = picture(xml.readString(entity, "texturePath", ""));
  buttonPicture_ = picture(xml.readString(entity, "textureButton", ""));
  class_ = xml.readString(entity, "class", "");
  towerType_ = xml.readString(entity, "towerType", "");
  // The bars show what the kind really does (TowerFigures), not its file's per-hit
  // number, which means a frame for a beam and a missile's for a launcher.
  figures_ = towerFigures(towerStateOfFile(files_[static_cast<size_t>(current_)]));
  damage_ = static_cast<int>(figures_.dps + 0.5f);
  energy_ = xml.readInt(entity, "energy", 0);
  price_ = xml.readInt(entity, "price", 0);
  range_ = xml.readFloat(entity, "range", 0.0f, 0.0f, 1.0e6f);
  reloadDelay_ = xml.readInt(entity, "reloadDelay", 0);
  actionStrategy_ = xml.readString(entity, "actionStrategy", "");
  info_ = xml.readString(entity, "info", "");
}

int EncyclopediaTowersScreen::damageBar(int dps) { return std::clamp(dps * kBarTrack / kFullBarDps, 0, kBarTrack); }
int EncyclopediaTowersScreen::rangeBar(float range) {
  return std::clamp(static_cast<int>(std::min(range, static_cast<float>(kBarTrack))), 0, kBarTrack);
}
int EncyclopediaTowersScreen::fireRateBar(float perSecond) {
  if (!(perSecond > 0.0f)) return 0;
  const float width = std::round(perSecond * static_cast<float>(kBarTrack) / kFullBarRate);
  return std::clamp(static_cast<int>(std::min(width, static_cast<float>(kBarTrack))), 1, kBarTrack);
}

float EncyclopediaTowersScreen::fireRate() const {
  if (!figures_.attacks) return 0.0f;
  // A pulse burns every frame for a while: its rate is its bursts, as for a
  // launcher its salvos; a beam's is its hits.
  return figures_.cycleSeconds > 0.0f ? 1.0f / figures_.cycleSeconds : figures_.hitsPerSecond;
}

void EncyclopediaTowersScreen::drawForeground(Graphics* g) {
  drawHeading(g, "ENCYCLOPEDIA_TOWERS");
  drawCentredInCell(g, picture_);
  if (buttonPicture_) g->drawImage(kCellX + (kCellW - buttonPicture_->getWidth()) / 2, 340, buttonPicture_, kWhite);
  Font* text = font("FONT_NOTOSANS24");
  Font* small = font("FONT_NOTOSANS20");
  if (!text || !small) return;
  text->drawTextAligned(g, Rect5(350, 136, 600, 30), layout::lookupText(towerType_), kPale, Font::AlignLeft, 3,
                        false);
  struct Bar {
    const char* key;
    int y;
    int width;
  };
  const Bar bars[] = {{"ENCYCLOPEDIA_DAMAGE", 208, damageBar(damage_)},
                      {"ENCYCLOPEDIA_RANGE", kRangeBarY, rangeBar(range_)},
                      {"ENCYCLOPEDIA_FIRE_RATE", 312, fireRateBar(fireRate())}};
  for (const Bar& bar : bars) {
    // A support station, the drone station and the beacon fire at nothing: only
    // their reach has a bar, an empty damage bar and a full rate of fire would lie.
    if (damage_ <= 0 && bar.y != kRangeBarY) continue;
    small->drawText(g, 540, bar.y - 27, layout::lookupText(bar.key), kCaption);
    g->drawRect(540, bar.y, kBarTrack, 24, Color(80, 220, 255, 160), false);
    if (bar.width > 0) g->fillRect(540, bar.y, bar.width, 24, Color(80, 220, 255, 200));
  }
  small->drawText(g, 540, 346, layout::lookupText("ENCYCLOPEDIA_PRICE"), kCaption);
  text->drawText(g, 660, 344, amountText(price_), kValue);
  small->drawText(g, 780, 346, layout::lookupText("ENERGY"), kCaption);
  text->drawText(g, 900, 344, amountText(energy_), kValue);
  text->drawTextAligned(g, Rect5(370, 412, 640, 120), layout::lookupText(info_), kWhite, Font::AlignLeft, 3, true);
}
