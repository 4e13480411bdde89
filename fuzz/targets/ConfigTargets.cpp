// The start-up configuration readers: config.xml, the key=value parameter file
// and the display configurations.
#include <limits>
#include <memory>
#include <string>

#include "AppConfig.h"
#include "ConfigFile.h"
#include "DisplayConfigurations.h"
#include "FuzzSupport.h"
#include "Targets.h"

namespace fuzz {

void fuzzAppConfig(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "config.xml");
  AppConfig::destroyInstance();
  AppConfig* config = AppConfig::instance();
  if (config->loadFromFile(path)) {
    // What start-up does with it: the caption, the labels file, the cursors.
    std::string joined = config->getCaption() + config->getLabelsFile() + config->getSaveFolder() +
                         config->getSaveFileName();
    for (const AppConfig::LogoScreen& logo : config->getLogoScreens()) joined += logo.folder + logo.fileName;
    for (const AppConfig::Language& language : config->getLanguages()) joined += language.labels;
    for (size_t i = 0; i < config->getCursors().size(); ++i) config->loadCursor(static_cast<int>(i));
    (void)joined;
  }
  AppConfig::destroyInstance();
}

void fuzzConfigFile(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "GameParameters.cfg");
  // A file the reader refuses (too big) is thrown as not found; the game then
  // goes on with the defaults.
  std::unique_ptr<ConfigFile> read;
  try {
    read = std::make_unique<ConfigFile>(path, "=", "#", "EndConfigFile");
  } catch (const ConfigFile::file_not_found&) {
    return;
  }
  ConfigFile& file = *read;
  for (const auto& entry : file.contents()) {
    (void)file.read<int>(entry.first, 0);
    (void)file.read<std::string>(entry.first, std::string());
    (void)file.read<bool>(entry.first, false);
    const float f = file.read<float>(entry.first, 0.0f);
    (void)f;
  }
  (void)file.read<int>("Gameplay.particleLife", 200);
}

void fuzzDisplayConfigurations(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "SystemInfo.xml");
  DisplayConfigurations displays(path);
  for (const auto& entry : displays.getConfigurations()) {
    requireFinite(entry.second->aspect, "a display configuration's aspect");
  }
  displays.setResolutions(new DisplayMode(1366, 768), new DisplayMode(1366, 768));
  requireFinite(displays.getLargestAspect(), "the largest aspect");
}

}  // namespace fuzz
