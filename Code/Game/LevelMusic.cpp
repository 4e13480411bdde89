// The level's music: the mission's scene from the campaign, a random track of it,
// played for as long as the level lives, and the announcement of the track.
#include "DynamicResources/SceneMusicContainer.h"
#include "Game/LevelScreen.h"
#include "Music.h"
#include "MyApp.h"
#include "Profile/Mission.h"
#include "Profile/Profile.h"
#include "Profile/SpaceStation.h"
#include "ResourceManager.h"
#include "music/AnnounceMusicTrack.h"

namespace {

// The track's banner stands a little below the field's top edge, or lower down the
// left edge, a cell at a time, where a lane runs there.
constexpr int kMusicBannerY = 8;
constexpr int kMusicBannerStep = PlacementGrid::kCellSize;
// Clear of every lane it may go down to the middle of the field; clear of the lanes'
// ends only, to the bottom.
constexpr float kLaneFreeLowest = PlacementGrid::kFieldHeight / 2.0f;
constexpr float kFieldBottom = PlacementGrid::kFieldHeight;

}  // namespace

int LevelScreen::musicScene() const {
  const MyApp* app = MyApp::instance();
  const Profile* profile = app ? app->profile() : nullptr;
  const SpaceStation* station = profile ? profile->findStationById(profile->currentStation()) : nullptr;
  if (station)
    for (const Mission* mission : station->missions())
      if (mission && mission->id() == missionId_) return mission->music();
  return missionId_;
}

void LevelScreen::startMusic() {
  const int scene = musicScene();
  SceneMusicContainer* catalogue = SceneMusicContainer::instance();
  const std::string file = catalogue->pickTrack(scene);
  if (file.empty()) return;

  // The level keeps its own music rather than filing it in the application's
  // catalogue: a catalogue entry would outlive the level and refuse the music of
  // a restarted one, which would then play unowned and never be freed.
  releaseMusic();
  music_ = std::make_unique<MixMusic>(file);
  if (music_->isLoaded()) music_->play(-1);
}

void LevelScreen::onShown() {
  announceMusic();
  openTutorialIfDue();
}

void LevelScreen::announceMusic() {
  if (!music_) return;
  const int scene = musicScene();
  const SceneMusicContainer* catalogue = SceneMusicContainer::instance();
  auto* banner = new AnnounceMusicTrack(catalogue->getAuthor(scene), catalogue->getTrackName(scene));
  // From the top down: stations stand low on the field and would be hidden behind
  // the banner for its first seconds. The first place in the field's upper half that
  // no lane runs under; else the first that leaves every lane's entry and exit in sight.
  const float strip = AnnounceMusicTrack::kStripHeight;
  const float width = banner->getWidth();
  auto firstPlace = [&](auto clear, float lowest) {
    for (int y = kMusicBannerY; y + strip <= lowest; y += kMusicBannerStep)
      if (clear(static_cast<float>(y))) return y;
    return -1;
  };
  int y = firstPlace([&](float top) { return hud_.clearOfLanes(0, top, width, strip); }, kLaneFreeLowest);
  if (y < 0) y = firstPlace([&](float top) { return hud_.clearOfLaneEnds(0, top, width, strip); }, kFieldBottom);
  if (y < 0) y = kMusicBannerY;
  banner->setRect(0, static_cast<float>(y), banner->getWidth(), banner->getHeight());
  addWidget(banner);
}

void LevelScreen::releaseMusic() {
  if (!music_) return;
  // Once the mixer is closed, freeing the music would call into it; the process is
  // ending then, as the resource catalogue also assumes.
  if (ResourceManager::isAudioClosed()) (void)music_.release();
  else music_.reset();
}
