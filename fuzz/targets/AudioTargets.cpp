// The sound-effect and scene-music catalogues. Audio stays off: a play must
// find its sound and do nothing else.
#include <string>
#include <vector>

#include "DynamicResources/SceneMusicContainer.h"
#include "DynamicResources/SfxContainer.h"
#include "FuzzSupport.h"
#include "Targets.h"

namespace fuzz {

void fuzzSfxCatalogue(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "sfx.xml");
  SfxContainer::destroyInstance();
  SfxContainer* sfx = SfxContainer::instance();
  sfx->load(path);
  for (const char* key : {"SFX_BUTTON_HOVER", "SFX_CHIRP", "", "SFX_UNKNOWN"}) {
    sfx->playSound(key);
    sfx->playSound(key, true);
    sfx->playSoundOnChannel(key, 3);
    if (const std::vector<std::string>* ids = sfx->findVariants(key)) {
      for (const std::string& id : *ids) (void)sfx->findVariantSound(id);
    }
  }
  SfxContainer::destroyInstance();
}

void fuzzMusicCatalogue(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "music.xml");
  SceneMusicContainer::destroyInstance();
  SceneMusicContainer* music = SceneMusicContainer::instance();
  music->load(path);
  for (int scene : {-1, 0, 1, 2, 7, 2147483647}) {
    (void)music->pickTrack(scene);
    (void)music->getAuthor(scene);
    (void)music->getTrackName(scene);
  }
  SceneMusicContainer::destroyInstance();
}

}  // namespace fuzz
