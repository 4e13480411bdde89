#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Point2i.h"

class GameState;
class Timer;
class ResourceManager;
class LabelManager;
class SoundSystem;
class SaveGame;
struct PointingDeviceEvent;

// The root of the running program: scale factors, the state stack, the clock and
// the catalogues every screen needs. SDLGameApp binds it to a window.
class GameApp {
 public:
  GameApp();
  virtual ~GameApp();
  GameApp(const GameApp&) = delete;
  GameApp& operator=(const GameApp&) = delete;

  // The one application, or null when none exists.
  static GameApp* instance();

  // --- overridable slots ---
  virtual void createGlobalResourceManager();
  virtual ResourceManager* createResourceManager();
  // Catalogues lent to long-lived objects (sound effects, animations): made by
  // the factory, kept in the application's list under the returned index.
  ResourceManager* addResourceManager(int& index);
  // Deletes the catalogue at the index and leaves its slot empty.
  void removeResourceManager(int index);
  virtual void enterFirstScreen() {}
  virtual void queueStateForDeletion(GameState* state);
  virtual void deleteQueuedStates();
  virtual Point2i getMousePosition() const { return mousePosition_; }
  virtual void setMousePosition(int x, int y) { mousePosition_ = Point2i(x, y); }
  // Lets an application move pointer positions before widgets see them; the
  // screen's own adjustPointer runs after it.
  virtual bool adjustPointer(const PointingDeviceEvent& event, int& x, int& y) {
    (void)event; (void)x; (void)y;
    return true;
  }
  virtual bool confirmQuit() { return true; }
  virtual bool saveGame();
  virtual bool loadGame();
  // A failure the player must see, not only the log (a save that did not happen); the
  // engine shows nothing itself, the game puts it on screen.
  virtual void tellPlayer(const std::string& text) { (void)text; }
  virtual void onQuit() {}
  virtual std::string getSaveIdentifier() const { return "UNIMPLEMENTED"; }

  // --- state stack (bottom first, top last) ---
  void pushState(GameState* state);
  // The popped state gets leave() at once but is deleted at the end of the frame,
  // so a state may pop itself from inside its own update.
  void popState();
  void finishState(GameState* state);
  void removeStateIfTop(GameState* state);
  GameState* topState() const;
  void changeState(GameState* state);
  const std::vector<GameState*>& states() const { return states_; }
  bool isOnStack(const GameState* state) const;
  size_t queuedForDeletion() const { return deletionQueue_.size(); }

  // Which states a walk over the stack visits, and in which order.
  enum class StateOrder { BottomUp, TopDown };
  enum class StateFilter {
    OnStack,         // every state still on the stack
    Active,          // those of them that are active
    ActiveOrAll,     // Active, or OnStack while inactive states are updated too
  };
  // Calls visit(state) for the states on the stack when the walk began, in the
  // given order. A state popped or deactivated by an earlier visit is skipped;
  // popped states are deleted only at the frame's end, so none goes while it
  // is walked. Walks may nest; the snapshot storage is kept between walks, so
  // a frame's walks do not allocate.
  template <typename Visit>
  void visitStates(StateOrder order, StateFilter filter, Visit&& visit);

  // --- fields ---
  float getScaleFactorX() const { return scaleX_; }
  float getScaleFactorY() const { return scaleY_; }
  void setScaleFactors(float x, float y) { scaleX_ = x; scaleY_ = y; }
  int getScreenWidth() const { return screenWidth_; }
  int getScreenHeight() const { return screenHeight_; }
  void setScreenSize(int w, int h) { screenWidth_ = w; screenHeight_ = h; }
  Timer* getTimer() const { return timer_.get(); }
  ResourceManager* globalResourceManager() const { return globalResourceManager_.get(); }
  LabelManager* gameMessages() const;
  SoundSystem* getSoundSystem() const { return soundSystem_.get(); }
  SaveGame* getSaveGame() const { return saveGame_.get(); }
  // Takes ownership; the previous save game is deleted.
  void setSaveGame(SaveGame* saveGame);
  bool getUpdateInactiveStates() const { return updateInactiveStates_; }
  void setUpdateInactiveStates(bool on) { updateInactiveStates_ = on; }
  float getTimeScale() const { return timeScale_; }
  void setTimeScale(float scale) { timeScale_ = scale; }
  // Set while a full-screen overlay page (encyclopedia, tutorial) lies over
  // the screens; nothing in the engine reads it.
  bool getOverlayFlag() const { return overlayFlag_; }
  void setOverlayFlag(bool on) { overlayFlag_ = on; }
  bool isQuitRequested() const { return quitRequested_; }
  void requestQuit() { quitRequested_ = true; }
  bool isImmediateQuitRequested() const { return immediateQuit_; }
  void requestImmediateQuit() { immediateQuit_ = true; }

 protected:
  void clearQuitRequest() { quitRequested_ = false; }
  // Every state leaves (top first) and is deleted with the queued ones.
  void releaseStates();

  float scaleX_ = 1.0f;
  float scaleY_ = 1.0f;
  bool quitRequested_ = false;
  bool immediateQuit_ = false;
  // The stack owns its states but hands them out bare (states(), the walks'
  // snapshots), and removeStateIfTop gives one back to its caller undeleted; a
  // state leaves it for deletionQueue_, which frees it.
  std::vector<GameState*> states_;
  int screenWidth_ = 0;
  int screenHeight_ = 0;
  std::unique_ptr<Timer> timer_;
  std::unique_ptr<ResourceManager> globalResourceManager_;
  std::unique_ptr<LabelManager> gameMessages_;
  // Made by the SDL application once audio opens; it also frees it, in its own
  // teardown order.
  std::unique_ptr<SoundSystem> soundSystem_;
  std::unique_ptr<SaveGame> saveGame_;
  bool updateInactiveStates_ = false;
  float timeScale_ = 1.0f;
  bool overlayFlag_ = false;
  Point2i mousePosition_;
  std::vector<std::unique_ptr<GameState>> deletionQueue_;
  std::vector<std::unique_ptr<ResourceManager>> resourceManagers_;

 private:
  // Snapshot storage, one per nesting level of visitStates; indexed anew on
  // every step, since a nested walk may grow the outer vector. Not owned: the
  // stack's states.
  std::vector<std::vector<GameState*>> visitSnapshots_;
  size_t visitDepth_ = 0;
  size_t beginVisit();
  bool passes(const GameState* state, StateFilter filter) const;
  std::vector<std::unique_ptr<GameState>>::iterator findQueued(const GameState* state);
};

template <typename Visit>
void GameApp::visitStates(StateOrder order, StateFilter filter, Visit&& visit) {
  const size_t level = beginVisit();
  const size_t count = visitSnapshots_[level].size();
  for (size_t k = 0; k < count; ++k) {
    GameState* state = visitSnapshots_[level][order == StateOrder::BottomUp ? k : count - 1 - k];
    if (passes(state, filter)) visit(state);
  }
  --visitDepth_;
}
