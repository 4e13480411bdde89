#pragma once
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "animation/AnimationListener.h"

class Animation2D;
class MathFunction;
class MathFunctionProperty;
class ResourceManager;
class ScreenBase;
class TiXmlElement;
namespace bge {
class XmlReader;
}
class AnimationElement2D;
struct KeyFramePropertiesImage;

// Loads keyframe animations under integer ids and plays them on a screen.
class AnimationPlayer : public AnimationPlayerListener {
 public:
  explicit AnimationPlayer(AnimationPlayerListener* listener);
  ~AnimationPlayer() override;
  AnimationPlayer(const AnimationPlayer&) = delete;
  AnimationPlayer& operator=(const AnimationPlayer&) = delete;

  // Answers whether the id now holds an animation. A file that is missing or
  // lacks a required value registers nothing and says why on standard output.
  bool loadAnimation(int id, const std::string& path);
  bool play(int id, float depthOffset, int x, int y, ScreenBase* screen);
  void prepare(int id, float depthOffset);
  void stop(int id);
  void pause(int id);
  void resume(int id);
  // The screen removes the animation and deletes it on its next update.
  void detach(int id, ScreenBase* screen);
  Animation2D* find(int id) const;

  // Takes ownership of the function.
  void registerTimeFunction(MathFunction* function, int id);
  MathFunction* findTimeFunction(int id) const;

  void animationFinished(int id) override;
  // An animation that a screen deleted leaves the catalogue.
  void onAnimationDeleted(Animation2D* animation);
  float scaledTime(float x, MathFunctionProperty* property);

  ResourceManager* getResourceManager() const { return resources_; }

 private:
  // A loaded animation. The player owns it until a screen shows it; from then
  // on the screen's widget list does, and the player only keeps it by id.
  struct Loaded {
    std::unique_ptr<Animation2D> owned;  // empty once a screen has it
    Animation2D* animation = nullptr;    // the animation, whoever owns it
  };

  // Each answers false when a value it needs was missing or malformed (the
  // reader has said which); the load then fails.
  bool readScene(const bge::XmlReader& xml, TiXmlElement* scene, Animation2D* animation);
  bool readScreen(const bge::XmlReader& xml, TiXmlElement* screen, Animation2D* animation);
  bool readObject(const bge::XmlReader& xml, TiXmlElement* object, Animation2D* animation);
  bool readImageProperties(const bge::XmlReader& xml, TiXmlElement* keyFrame,
                           const std::string& name,
                           KeyFramePropertiesImage& out);

  // Only without an application: then the player makes its own catalogue.
  // Declared first so that it goes last, after everything drawing its textures.
  std::unique_ptr<ResourceManager> ownedResources_;
  // ownedResources_, or not owned: the application's catalogue number resourceIndex_.
  ResourceManager* resources_ = nullptr;
  int resourceIndex_ = -1;
  std::map<int, Loaded> animations_;
  std::vector<std::pair<std::unique_ptr<MathFunction>, int>> timeFunctions_;
  AnimationPlayerListener* listener_;  // not owned
  std::string baseFolder_;
};
