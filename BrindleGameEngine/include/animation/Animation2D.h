#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Widget.h"
#include "tinyaction/ActionListener.h"

class AnimationElement2D;
class AnimationListener;
class AnimationPlayer;
class ResourceManager;
class TinyAction;

// A loaded animation scene: a widget holding image elements, each driven by its
// own action tree. It tells its listener its id when the last element ends.
class Animation2D : public Widget, public bge::ActionListener {
 public:
  Animation2D(int id, AnimationPlayer* player, AnimationListener* listener);
  ~Animation2D() override;

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;
  void actionFinished(int tag) override;

  // Takes ownership.
  void addElement(AnimationElement2D* element);
  // Loads every element's image from the folder, then orders them by depth.
  bool loadElements(const std::string& folder, ResourceManager* resources);
  void sortElementsByZ();
  void buildActions(float depthOffset);
  void startActions();
  // Deletes the actions (later, when called from inside their own update) and
  // puts every element back on its first key frame.
  void stop();
  // The player is going away: forget it, and stop drawing textures it owned.
  void forgetPlayer();

  // The elements in drawing order; they stay the animation's.
  std::vector<AnimationElement2D*> getElements() const;
  size_t getActionCount() const { return actions_.size(); }
  bool isPlaying() const { return playing_; }
  void setPlaying(bool playing) { playing_ = playing; }
  bool isPaused() const { return paused_; }
  void setPaused(bool paused) { paused_ = paused; }
  bool isOwnedByScreen() const { return ownedByScreen_; }
  void setOwnedByScreen(bool owned) { ownedByScreen_ = owned; }
  int getAnimationId() const { return id_; }
  float getDepthOffset() const { return depthOffset_; }

  void setScene(const std::string& name, bool loop, int loopCount, int length);
  const std::string& getName() const { return name_; }
  bool isLooping() const { return loop_; }
  int getLoopCount() const { return loopCount_; }
  int getLength() const { return length_; }
  void setFileName(const std::string& fileName) { fileName_ = fileName; }
  const std::string& getFileName() const { return fileName_; }
  void setFolder(const std::string& folder) { folder_ = folder; }
  const std::string& getFolder() const { return folder_; }

 private:
  // Declared before the actions, which write the elements' values: they go last.
  std::vector<std::unique_ptr<AnimationElement2D>> elements_;
  // Actions stopped while they were being updated; freed when the update ends.
  std::vector<std::unique_ptr<TinyAction>> retired_;
  std::vector<std::unique_ptr<TinyAction>> actions_;
  bool playing_ = false;
  int length_ = 0;
  bool loop_ = false;
  int loopCount_ = -1;
  std::string fileName_ = "not loaded";
  std::string name_ = "anim noname";
  std::string folder_;
  AnimationPlayer* player_;  // not owned: the player that loaded us, until it forgets us
  int id_;
  AnimationListener* listener_;  // not owned
  float depthOffset_ = 0.0f;
  bool paused_ = false;
  bool ownedByScreen_ = false;
  bool orphaned_ = false;
  bool updating_ = false;
  int generation_ = 0;
  bool* destroyedFlag_ = nullptr;
};
