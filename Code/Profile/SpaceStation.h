#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Mission;
class Texture;

// One station of the campaign with its panel texts and its three missions.
class SpaceStation {
 public:
  SpaceStation() = default;
  virtual ~SpaceStation();
  SpaceStation(const SpaceStation&) = delete;
  SpaceStation& operator=(const SpaceStation&) = delete;

  // Reads the station file; a file that cannot be read leaves the defaults.
  bool loadFromXml(const std::string& path);
  // Fetches (or creates and registers) the icon texture in the global catalogue.
  Texture* loadIconTexture();

  // A view of the list; the station keeps owning the missions.
  std::vector<Mission*> getMissions() const { return missions(); }
  std::vector<Mission*> missions() const;

  bool isUnlocked() const { return unlocked_; }
  void setUnlocked(bool on) { unlocked_ = on; }
  int32_t id() const { return id_; }
  void setId(int32_t id) { id_ = id; }
  const std::string& icon() const { return icon_; }
  const std::string& code() const { return code_; }
  const std::string& commander() const { return commander_; }
  const std::string& coordinate() const { return coordinate_; }
  const std::string& type() const { return type_; }
  const std::string& crew() const { return crew_; }
  const std::string& weapons() const { return weapons_; }
  const std::string& communication() const { return communication_; }
  const std::string& power() const { return power_; }
  float tradeCommission() const { return tradeCommission_; }
  Texture* iconTexture() const { return iconTexture_; }

 private:
  bool unlocked_ = false;
  std::string icon_;
  std::string code_ = "00";
  std::string commander_ = "commander";
  std::string coordinate_ = "coords";
  std::string type_ = "android";
  std::string crew_ = "few men";
  std::string weapons_ = "big guns";
  std::string communication_ = "antena gigante";
  std::string power_ = "nuclear";
  int32_t id_ = -1;
  float tradeCommission_ = 0.05f;
  Texture* iconTexture_ = nullptr;  // not owned: the global catalogue's
  std::vector<std::unique_ptr<Mission>> missions_;
};
