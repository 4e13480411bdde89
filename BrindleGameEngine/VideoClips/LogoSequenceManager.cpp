#include "VideoClips/LogoSequenceManager.h"

#include <cstdio>
#include <utility>

#include "AppConfig.h"
#include "GameApp.h"
#include "GameState.h"

namespace bge {

LogoSequenceManager::LogoSequenceManager(float setting) : setting_(setting) {}

void LogoSequenceManager::ClipRelease::operator()(VideoClip* clip) const {
  GameApp* app = GameApp::instance();
  GameState* state = dynamic_cast<GameState*>(clip);
  // Screens go at the end of the frame. A clip still on the stack must come off it first.
  if (state && app) {
    app->removeStateIfTop(state);
    if (!app->isOnStack(state)) app->queueStateForDeletion(state);
  } else {
    delete clip;
  }
}

LogoSequenceManager::~LogoSequenceManager() {
  // In name order, one at a time: a screen comes off the stack only from the top.
  for (auto& entry : clips_) entry.second.reset();
  current_ = nullptr;
}

void LogoSequenceManager::registerCreator(const std::string& type, ClipCreator creator) {
  creators_[type] = std::move(creator);
}

void LogoSequenceManager::finish() {
  GameApp* app = GameApp::instance();
  // Nobody holds the sequence: the application starts it and hears no more of
  // it, and its clips only point back as their listener. Its end is the last logo's.
  delete this;
  if (app) app->enterFirstScreen();
}

void LogoSequenceManager::playNextClip() {
  std::printf(" LogoSequenceManager::playNextClip() \n");
  const std::vector<AppConfig::LogoScreen>& logos = AppConfig::instance()->getLogoScreens();
  // A logo of a type nobody can play is passed over rather than stopping the start-up.
  for (;;) {
    ++index_;
    if (index_ < 0 || static_cast<size_t>(index_) >= logos.size()) {
      finish();
      return;
    }
    const AppConfig::LogoScreen& logo = logos[static_cast<size_t>(index_)];
    auto found = clips_.find(logo.type);
    VideoClip* clip = found == clips_.end() ? nullptr : found->second.get();
    if (!clip) {
      auto creator = creators_.find(logo.type);
      if (creator == creators_.end() || !creator->second) {
        std::printf("LogoSequenceManager: no clip can play logo type \"%s\" (%s%s); skipped\n",
                    logo.type.c_str(), logo.folder.c_str(), logo.fileName.c_str());
        continue;
      }
      clip = creator->second(static_cast<int>(clips_.size()), this);
      if (!clip) continue;
      clips_[logo.type].reset(clip);
    }
    current_ = clip;
    clip->load(logo.folder + logo.fileName);
    if (VideoClipListener* listener = clip->getListener()) listener->clipEvent(clip->getId(), Ready);
    return;
  }
}

void LogoSequenceManager::clipEvent(int /*clipId*/, int eventCode) {
  if (!current_) return;
  GameApp* app = GameApp::instance();
  GameState* screen = dynamic_cast<GameState*>(current_);
  switch (eventCode) {
    case Ready:
      if (screen && app) app->changeState(screen);
      current_->play();
      if (VideoClipListener* listener = current_->getListener()) {
        listener->clipEvent(current_->getId(), Started);
      }
      break;
    case Ended:
    case Skipped:
      if (screen && app) app->removeStateIfTop(screen);
      playNextClip();
      break;
    default:
      break;
  }
}

}  // namespace bge
