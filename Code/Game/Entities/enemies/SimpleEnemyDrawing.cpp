// How an enemy ship looks: its picture, the flash of a hit, its energy bar (a station
// part's is a wide one with the percentage), its class colour and the enemy panel of
// the heads-up display.
#include "Game/Entities/enemies/SimpleEnemyEntity.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "Font.h"
#include "Game/InfoPanelText.h"
#include "System/DisplayText.h"
#include "GameApp.h"
#include "Graphics.h"
#include "LabelManager.h"
#include "ResourceManager.h"
#include "Texture.h"
#include "tinyaction/TinyAction.h"

using namespace QuillonPHX2D;

namespace {

Color colourWord(uint32_t word) {
  return Color(word & 0xFF, (word >> 8) & 0xFF, (word >> 16) & 0xFF, (word >> 24) & 0xFF);
}

Font* panelFont() {
  GameApp* app = GameApp::instance();
  ResourceManager* resources = app ? app->globalResourceManager() : nullptr;
  return resources ? resources->findFont("FONT_NOTOSANS16") : nullptr;
}

std::string label(const std::string& key) {
  GameApp* app = GameApp::instance();
  LabelManager* labels = app ? app->gameMessages() : nullptr;
  return labels ? labels->getLabel(key) : key;
}

// The ship and shield pictures of the info panel, in pixels.
constexpr int kInfoPicture = 32;

// Draws a texture into a box of the given size, or at its own size when it fits.
void drawFitted(Graphics& g, int x, int y, Texture* t, int box) {
  if (!t) return;
  const SourceRect whole(0.0f, 0.0f, static_cast<float>(t->getWidth()), static_cast<float>(t->getHeight()));
  if (t->getHeight() <= box) g.drawImage(x, y, t, whole, Color::white);
  else g.drawImage(x, y, box, box, t, whole, Color::white);
}

}  // namespace

Color enemyClassColour(const std::string& className) {
  static const struct {
    const char* name;
    uint32_t word;
  } table[] = {{"scout", 0xFFFFFF00u},  {"rower", 0xFF0000FFu},   {"grasshopper", 0xFF00FFFFu},
               {"spacedog", 0xFFF03CBCu}, {"bull", 0xFFFF00FFu},  {"catcher", 0xFF008000u},
               {"hellraiser", 0xFF00AAFFu}, {"destroyer", 0xFFFFD200u}};
  for (const auto& entry : table)
    if (className == entry.name) return colourWord(entry.word);
  return colourWord(0xFF00FF00u);
}

// --- drawing ---

Color xSimpleEnemy::classColour() const { return enemyClassColour(className_); }

void xSimpleEnemy::draw(Graphics* g, ScreenBase* screen) { drawLayer(g, screen); }

void xSimpleEnemy::drawLayer(Graphics* g, ScreenBase*) {
  if (!shape_) return;
  drawPicture(g);
  const Vec3 p = absPlacement();
  if (hitFlashAction_ && hitFlashAction_->isRunning() && hitTexture_) {
    g->pushMatrix();
    g->translate(p.x, p.y);
    g->rotate(qlnRadToDeg(p.z), 0.0f, 0.0f, 1.0f);
    g->translate(-hitTexture_->getWidth() * 0.5f, -hitTexture_->getHeight() * 0.5f);
    g->drawImage(0, 0, hitTexture_, Color(255, 255, 255, std::clamp(hitAlpha_, 0, 255)));
    g->popMatrix();
  }
  const xCollisionCategory* kind = shape_->getCollisionCategory();
  const std::string category = kind ? kind->categoryID() : std::string();
  if (category.empty() || category == "particle") return;
  // A ship whose maximum is 0 shows an empty bar instead of dividing by it.
  const float r = maxEnergy_ > 0 ? static_cast<float>(energy_) / maxEnergy_ : 0.0f;
  const int x = static_cast<int>(p.x);
  const int y = static_cast<int>(p.y);
  if (category == "station_part") {
    g->fillRect(x - 60, y, static_cast<int>(r * 120), 18, colourWord(0x8000FF00u));
    g->fillRect(x - 60, y, 120, 18, colourWord(0x80000000u));
    g->drawRect(x - 60, y, 120, 18, colourWord(0xFF000000u), false);
    if (Font* font = panelFont()) {
      font->drawTextAligned(g, Rect5(x - 60, y, 120, 18), percentText(static_cast<int>(r * 100)),
                            colourWord(0xFF00FFFFu), Font::AlignCenter, Font::AlignMiddle, false);
    }
  } else {
    g->fillRect(x - 8, y - 16, static_cast<int>(r * 16), 4, classColour());
    g->drawRect(x - 8, y - 16, 16, 4, colourWord(0xFF000000u), false);
  }
}

namespace {

const char* kDescriptionLabels[][2] = {{"scout", "DESC_SCOUT"},         {"rower", "DESC_ROWER"},
                                       {"grasshopper", "DESC_GRASSHOPPER"}, {"spacedog", "DESC_SPACEDOG"},
                                       {"bull", "DESC_BULL"},           {"catcher", "DESC_CATCHER"},
                                       {"hellraiser", "DESC_HELLRAISER"}, {"destroyer", "DESC_DESTROYER"}};

}  // namespace

void xSimpleEnemy::infoText(Graphics& g, const Rect5& area) {
  Font* font = panelFont();
  // The ship's picture on the left, its shield class's on the right; the texts
  // step down below them at the font's line height.
  const int x = static_cast<int>(area.x), y = static_cast<int>(area.y);
  const int rightX = x + static_cast<int>(InfoPanelText::kRightColumn);
  drawFitted(g, x, y, texture_, kInfoPicture);
  std::string description;
  bool known = false;
  for (const auto& entry : kDescriptionLabels) {
    if (className_ != entry[0]) continue;
    description = label(entry[1]);
    known = true;
  }
  if (known) {
    GameApp* app = GameApp::instance();
    ResourceManager* resources = app ? app->globalResourceManager() : nullptr;
    Texture* icon = resources ? resources->findTexture("content/images/game/" + className_ + ".png") : nullptr;
    if (icon) {
      const SourceRect whole(0.0f, 0.0f, static_cast<float>(icon->getWidth()), static_cast<float>(icon->getHeight()));
      g.drawImage(rightX, y, kInfoPicture, kInfoPicture, icon, whole, Color::white);
    }
  }
  if (font) {
    InfoPanelText text(&g, font, Rect5(area.x, area.y + kInfoPicture + 4, area.width, area.height - kInfoPicture - 4));
    text.row("HP: " + amountText(energy_), colourWord(0xFF00FF00u), label("SHIELD_TYPE"), Color::white);
    text.row(label("LABEL_CLASS") + " " + enemyName(className_), classColour());
    text.wrapped(description, colourWord(0xFF00AAFFu));
  }
  const auto* ps = dynamic_cast<const xPrimitiveShape*>(shape_.get());
  if (auto* circle = ps ? dynamic_cast<xPrimitiveCircle*>(ps->getEnvelope()) : nullptr) {
    const Vec3 p = absPlacement();
    g.drawCircle(p.x, p.y, 2.5f * circle->getRadius(), 1.0f, colourWord(0xFF0000FFu));
  }
}
