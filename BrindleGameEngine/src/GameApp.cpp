#include "GameApp.h"

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "AssertReport.h"
#include "DynamicResources/SfxContainer.h"
#include "GameState.h"
#include "LabelManager.h"
#include "ResourceManager.h"
#include "SaveGame.h"
#include "SoundSystem.h"
#include "Timer.h"
#include "sdk/QuillonPhysicsSDK.h"

namespace {
GameApp* g_gameApp = nullptr;
}

GameApp* GameApp::instance() { return g_gameApp; }

GameApp::GameApp() {
  gameMessages_ = std::make_unique<LabelManager>();
  timer_ = std::make_unique<Timer>();
  timer_->start();
  g_gameApp = this;
  // The one physics world of the process; the frame loop steps it.
  QuillonPHX2D::qlnCreateQuillonSDK();
}

GameApp::~GameApp() {
  releaseStates();
  // The sound catalogue outlives screens but not the application whose manager holds
  // its sounds.
  SfxContainer::releaseBorrowedFrom(this);
  // Everything goes before the physics world and while instance() still answers,
  // lent catalogues first, in the order they were lent.
  for (std::unique_ptr<ResourceManager>& lent : resourceManagers_) lent.reset();
  timer_.reset();
  globalResourceManager_.reset();
  gameMessages_.reset();
  saveGame_.reset();
  QuillonPHX2D::qlnDestroyQuillonSDK();
  if (g_gameApp == this) g_gameApp = nullptr;
}

void GameApp::createGlobalResourceManager() {
  globalResourceManager_.reset();  // the old one's resources go before the new one is made
  globalResourceManager_ = std::make_unique<ResourceManager>();
}

ResourceManager* GameApp::createResourceManager() { return new ResourceManager(); }

void GameApp::releaseStates() {
  for (auto it = states_.rbegin(); it != states_.rend(); ++it) (*it)->leave(this);
  // The states are ours: deleted after every one has left, top first.
  std::vector<GameState*> remaining;
  remaining.swap(states_);
  for (auto it = remaining.rbegin(); it != remaining.rend(); ++it) queueStateForDeletion(*it);
  GameApp::deleteQueuedStates();
}

ResourceManager* GameApp::addResourceManager(int& index) {
  ResourceManager* manager = createResourceManager();
  index = static_cast<int>(resourceManagers_.size());
  resourceManagers_.emplace_back(manager);
  return manager;
}

void GameApp::removeResourceManager(int index) {
  if (index < 0 || index >= static_cast<int>(resourceManagers_.size())) return;
  resourceManagers_[static_cast<size_t>(index)].reset();
}

std::vector<std::unique_ptr<GameState>>::iterator GameApp::findQueued(const GameState* state) {
  return std::find_if(deletionQueue_.begin(), deletionQueue_.end(),
                      [state](const std::unique_ptr<GameState>& queued) { return queued.get() == state; });
}

void GameApp::queueStateForDeletion(GameState* state) {
  if (!state) return;
  if (findQueued(state) != deletionQueue_.end()) return;
  deletionQueue_.emplace_back(state);
}

void GameApp::deleteQueuedStates() {
  const bool any = !deletionQueue_.empty();
  // A destructor may queue more; keep going until nothing is left.
  while (!deletionQueue_.empty()) {
    std::vector<std::unique_ptr<GameState>> batch;
    batch.swap(deletionQueue_);
    for (std::unique_ptr<GameState>& state : batch) state.reset();
  }
#if defined(__GLIBC__)
  // A level restarted or left stood beside the next screen's loading for one frame.
  // Hand the pages of that peak back to the system, or the process keeps them for good
  // and grows with every level played.
  if (any) malloc_trim(0);
#else
  (void)any;
#endif
}

bool GameApp::saveGame() { return saveGame_ ? saveGame_->save() : false; }

bool GameApp::loadGame() { return saveGame_ ? saveGame_->load() : false; }

void GameApp::setSaveGame(SaveGame* saveGame) {
  if (saveGame == saveGame_.get()) return;
  saveGame_.reset(saveGame);
}

LabelManager* GameApp::gameMessages() const {
  BGE_REPORT(gameMessages_ != 0);
  return gameMessages_.get();
}

void GameApp::pushState(GameState* state) {
  if (!BGE_REPORT(state != nullptr)) return;
  if (GameState* covered = topState()) covered->pause(this);
  // A state popped earlier this frame and pushed again must not be freed at its end:
  // the stack has it back.
  const auto queued = findQueued(state);
  if (queued != deletionQueue_.end()) {
    queued->release();
    deletionQueue_.erase(queued);
  }
  states_.push_back(state);
  state->enter(this);
}

void GameApp::popState() {
  if (states_.empty()) return;
  GameState* top = states_.back();
  states_.pop_back();
  top->leave(this);
  // The caller may be the state itself, inside its own update: free it at the frame's end.
  queueStateForDeletion(top);
  if (GameState* uncovered = topState()) uncovered->resume(this);
}

void GameApp::finishState(GameState* state) {
  (void)state;  // whoever asks, the top goes
  popState();
}

void GameApp::removeStateIfTop(GameState* state) {
  if (states_.empty() || states_.back() != state) return;
  state->setActive(false);
  states_.pop_back();
}

GameState* GameApp::topState() const { return states_.empty() ? nullptr : states_.back(); }

void GameApp::changeState(GameState* state) {
  if (state) state->activate(this);
}

size_t GameApp::beginVisit() {
  if (visitSnapshots_.size() <= visitDepth_) visitSnapshots_.resize(visitDepth_ + 1);
  visitSnapshots_[visitDepth_].assign(states_.begin(), states_.end());
  return visitDepth_++;
}

bool GameApp::passes(const GameState* state, StateFilter filter) const {
  if (!isOnStack(state)) return false;  // popped earlier in this walk
  switch (filter) {
    case StateFilter::OnStack: return true;
    case StateFilter::Active: return state->isActive();
    case StateFilter::ActiveOrAll: return updateInactiveStates_ || state->isActive();
  }
  return false;
}

bool GameApp::isOnStack(const GameState* state) const {
  return std::find(states_.begin(), states_.end(), state) != states_.end();
}
