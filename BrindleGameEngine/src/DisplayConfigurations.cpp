#include "DisplayConfigurations.h"

#include <SDL.h>
#include <tinyxml.h>

#include <algorithm>
#include <cstdio>

#include "XmlAttributes.h"

namespace {
// No display has a side this long; a larger value in the file is a typo.
constexpr int kLargestSide = 16384;
}  // namespace

DisplayMode::DisplayMode(int w, int h)
    : width(w),
      height(h),
      // A zero height has no aspect; 0 keeps NaN and infinity out of layouts.
      aspect(h != 0 ? static_cast<float>(static_cast<double>(w) / h) : 0.0f) {}

DisplayConfigurations::DisplayConfigurations(const std::string& path) {
  queryDisplay();
  if (!path.empty()) loadFromXml(path);
}

void DisplayConfigurations::queryDisplay() {
  const int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) == 0) addMode(mode.w, mode.h);
  }
  sortModes();
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0) {
    desktop_ = std::make_unique<DisplayMode>(desktop.w, desktop.h);
  }
}

void DisplayConfigurations::addMode(int width, int height) {
  for (const DisplayMode* mode : modes_) {
    if (mode->width == width && mode->height == height) return;
  }
  ownedModes_.push_back(std::make_unique<DisplayMode>(width, height));
  modes_.push_back(ownedModes_.back().get());
}

void DisplayConfigurations::sortModes() {
  std::sort(modes_.begin(), modes_.end(), [](const DisplayMode* a, const DisplayMode* b) {
    if (a->width != b->width) return a->width > b->width;
    return a->height > b->height;
  });
  if (!modes_.empty()) largestAspect_ = modes_.front()->aspect;
}

void DisplayConfigurations::loadFromXml(const std::string& path) {
  const bge::XmlReader xml(path);
  TiXmlDocument document;
  if (!xml.load(document)) return;
  const TiXmlElement* root = xml.root(document, "SystemInfo");
  if (!root) return;
  const TiXmlElement* configurations = root->FirstChildElement("Configurations");
  if (!configurations) return;
  for (const TiXmlElement* e = configurations->FirstChildElement("Default"); e; e = e->NextSiblingElement()) {
    const int width = xml.readInt(e, "width", 0, 0, kLargestSide);
    const int height = xml.readInt(e, "height", 0, 0, kLargestSide);
    const std::string alias = xml.readString(e, "alias", "");
    std::unique_ptr<DisplayMode>& slot = ownedConfigurations_[alias];
    slot = std::make_unique<DisplayMode>(width, height);
    configurations_[alias] = slot.get();
  }
}

void DisplayConfigurations::setResolutions(DisplayMode* current, DisplayMode* artwork) {
  // One record cannot be owned twice.
  if (current && current == artwork) artwork = new DisplayMode(*current);
  std::unique_ptr<DisplayMode> oldCurrent = std::move(current_);
  std::unique_ptr<DisplayMode> oldArtwork = std::move(artwork_);
  current_.reset(current);
  artwork_.reset(artwork);
  // Records handed back to us are held again; only the ones given up are freed.
  for (std::unique_ptr<DisplayMode>* old : {&oldCurrent, &oldArtwork}) {
    if (old->get() == current || old->get() == artwork) (void)old->release();
  }
}
