#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Texture;

// One mission of a station: its level file, texts, rewards and the missions
// that winning it unlocks.
class Mission {
 public:
  Mission() = default;
  virtual ~Mission() = default;

  // music, enabled and the rewards from the level file; a file that cannot be
  // read leaves them as they are.
  void loadLevelInfo();
  // The UnlockMissions list of the level file at path.
  void loadUnlocks(const std::string& path);
  // The preview texture (registered in the global catalogue); none for an empty path.
  void loadMapShot(const std::string& path);
  // Keeps the first amount of a name given twice.
  void addReward(const std::string& name, float amount);

  int32_t id() const { return id_; }
  void setId(int32_t id) { id_ = id; }
  int32_t music() const { return music_; }
  bool isEnabled() const { return enabled_; }
  void setEnabled(bool on) { enabled_ = on; }
  int32_t value() const { return value_; }
  void setValue(int32_t value) { value_ = value; }
  const std::string& label() const { return label_; }
  const std::string& config() const { return config_; }
  const std::string& job() const { return job_; }
  const std::string& cargo() const { return cargo_; }
  void setTexts(const std::string& label, const std::string& config, const std::string& job,
                const std::string& cargo);
  const std::vector<int32_t>& unlockList() const { return unlockList_; }
  const std::map<std::string, float>& rewards() const { return rewards_; }
  // The preview, loaded on the first call (start-up only names it).
  Texture* mapShotTexture() const;
  // Lets the preview's pixels go until it is shown again: mission control is the
  // only screen that shows previews, so they need not stay for the whole session.
  void releaseMapShot() const;

 private:
  std::vector<int32_t> unlockList_;
  int32_t value_ = 0;
  int32_t id_ = -1;
  int32_t music_ = 0;
  bool enabled_ = false;
  std::string label_ = "no-name";
  std::string config_;
  std::string job_;
  std::string cargo_;
  std::map<std::string, float> rewards_;
  Texture* mapShotTexture_ = nullptr;  // not owned: the global catalogue's
};
