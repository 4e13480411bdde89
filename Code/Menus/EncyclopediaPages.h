#pragma once
#include <string>
#include <vector>

#include "Game/Entities/towers/TowerFigures.h"
#include "ScreenBase.h"
#include "tinyaction/ActionListener.h"
#include "widgets/ButtonListener.h"

class Font;
class Texture;
namespace bge { class XmlReader; }
class TiXmlElement;

// A page of the encyclopedia: steps through the entity files its layout lists
// and shows one at a time. Previous and next wrap around; over an empty list
// they do nothing.
class EncyclopediaPage : public ScreenBase, public bge::ButtonListener, public bge::ActionListener {
 public:
  enum ButtonId { kPreviousButton = 0, kNextButton = 1, kCloseButton = 2 };
  static constexpr int kExitClose = -1;
  static constexpr int kExitEscape = 2;

  void prepare() override {}
  void init() override;
  void onKeyEvent(const KeyEvent& event) override;
  void onButtonEvent(int buttonId, int kind) override;
  void onExitTransitionDone(int exitCode) override;
  void actionFinished(int tag) override { (void)tag; }

  // Shows the entry of the index; an index outside the list is ignored.
  void showEntry(int index);
  void previous();
  void next();
  const std::vector<std::string>& files() const { return files_; }
  int current() const { return current_; }

 protected:
  EncyclopediaPage(const char* className, const char* layoutFile, const char* listElement);
  // Reads the shown file's attributes; the root element is given.
  virtual void readEntry(const bge::XmlReader& xml, TiXmlElement* entity) = 0;
  // A picture named by an entity file, shared through the application's catalogue.
  Texture* picture(const std::string& path);
  Font* font(const char* id);
  void drawHeading(Graphics* g, const char* key);

  std::vector<std::string> files_;
  int current_ = 0;

 private:
  const char* className_;
  const char* layoutFile_;
  const char* listElement_;
};

// The enemy classes: picture, class, description, shield and threat.
class EncyclopediaAliensScreen : public EncyclopediaPage {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/encyclopedia/aliens/Screen.xml";
  struct ClassInfo {
    const char* word;
    const char* descriptionKey;
    float threat;  // 0..1 of the bar
    const char* shieldTexture;
  };
  // The class word's row, or null for a word the game does not know.
  static const ClassInfo* findClass(const std::string& word);
  static constexpr int kThreatBarWidth = 255;

  EncyclopediaAliensScreen();
  void drawForeground(Graphics* g) override;

  int energy() const { return energy_; }
  const std::string& enemyClass() const { return class_; }
  int threatBarWidth() const;

 protected:
  void readEntry(const bge::XmlReader& xml, TiXmlElement* entity) override;

 private:
  int energy_ = 0;
  std::string class_;
  Texture* picture_ = nullptr;  // the catalogue keeps it
};

// The tower kinds: picture, button picture, name, values and description.
class EncyclopediaTowersScreen : public EncyclopediaPage {
 public:
  static constexpr const char* kLayoutFile = "content/images/menus/encyclopedia/towers/Screen.xml";
  static constexpr int kBarTrack = 472;
  // Damage per second on one ship that fills the damage bar.
  static constexpr int kFullBarDps = 500;
  // Shots (or a pulse's bursts) a second that fill the rate bar: a little above
  // the quickest turret's. A beam, which hits every frame, fills it.
  static constexpr float kFullBarRate = 2.5f;

  EncyclopediaTowersScreen();
  void drawForeground(Graphics* g) override;

  // Bar widths on a track of kBarTrack: damage per second, range, and shots or
  // bursts a second; each within 0..kBarTrack, and a rate above zero never 0.
  static int damageBar(int dps);
  static int rangeBar(float range);
  static int fireRateBar(float perSecond);

  // Damage per second on one ship in reach, rounded.
  int damage() const { return damage_; }
  int price() const { return price_; }
  float range() const { return range_; }
  int reloadDelay() const { return reloadDelay_; }
  // Shots a second on one ship, or a pulse's bursts a second (TowerFigures).
  float fireRate() const;
  const std::string& towerType() const { return towerType_; }

 protected:
  void readEntry(const bge::XmlReader& xml, TiXmlElement* entity) override;

 private:
  Texture* picture_ = nullptr;        // the catalogue keeps it
  Texture* buttonPicture_ = nullptr;  // the catalogue keeps it
  std::string class_;
  TowerFigures figures_;
  int damage_ = 0;
  int energy_ = 0;
  int reloadDelay_ = 0;
  int price_ = 0;
  float range_ = 0.0f;
  std::string actionStrategy_;
  std::string towerType_;
  std::string info_;
};
