#include "Menus/GameProgressDialog.h"

#include "DesignSize.h"
#include "DynamicResources/SfxContainer.h"
#include "FadeTransitions.h"
#include "GameApp.h"
#include "Graphics.h"
#include "Menus/SaveEntries.h"
#include "Profile/Profile.h"
#include "System/ResourceLists.h"
#include "Texture.h"
#include "widgets/Dialog.h"

namespace {
constexpr int kFadeMs = 256;
const Color kShade(0, 0, 0, 200);
// The raster lies over the shade in the panels' cyan, faintly.
const Color kRasterTint(120, 220, 255, 255);

Sound* firstVariant(const char* key) {
  SfxContainer* sfx = SfxContainer::instance();
  const std::vector<std::string>* variants = sfx->findVariants(key);
  if (!variants || variants->empty()) return nullptr;
  return sfx->findVariantSound(variants->front());
}
}  // namespace

GameProgressDialog::GameProgressDialog(ScreenBase* parent) : ScreenBase(""), parent_(parent) {
  setInTransition(new FadeInTransition(kFadeMs, Color(0, 0, 0, 255)));
  setOutTransition(new FadeOutTransition(kFadeMs, Color(0, 0, 0, 255)));
}

void GameProgressDialog::init() {
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  ResourceManager* resources = app_ ? app_->globalResourceManager() : getResourceManager();
  auto* dialog = new bge::Dialog(this, kDialogFile, resources, 1);
  dialog->setButtonSounds(firstVariant("SFX_BTN_OVER"), firstVariant("SFX_BTN_CLICK"));
  addWidget(dialog);
}

void GameProgressDialog::drawBackground(Graphics* g) {
  g->fillRect(0, 0, bge::kDesignWidth, bge::kDesignHeight, kShade);
  Texture* raster = globalTexture("TEX_RASTER_EVEN");
  if (!raster || raster->getWidth() <= 0 || raster->getHeight() <= 0) return;
  for (int y = 0; y < bge::kDesignHeight; y += raster->getHeight())
    for (int x = 0; x < bge::kDesignWidth; x += raster->getWidth()) g->drawImage(x, y, raster, kRasterTint);
}

void GameProgressDialog::onDialogEvent(int dialogId, int kind, bge::Dialog* dialog) {
  (void)dialogId;
  if (kind != bge::DialogListener::Closed || !dialog) return;
  SfxContainer::instance()->playSound("SFX_BTN_CLICK");
  const int button = dialog->getResult();
  if (button == kYesButton) {
    if (Profile* profile = findProfile(app_)) {
      profile->resetProgress();
      app_->saveGame();
    }
    close(kExitReset, true);
  } else if (button == kNoButton) {
    close(kExitKeep, true);
  }
}

void GameProgressDialog::onExitTransitionDone(int exitCode) {
  // Copied before the pop: nothing of this screen is touched afterwards, and
  // the parent is used only while it is still on the application's stack.
  ScreenBase* parent = parent_;
  GameApp* app = app_;
  if (!app) return;
  app->finishState(this);
  if (exitCode == kExitReset && parent && app->isOnStack(parent)) parent->close(1, true);
}
