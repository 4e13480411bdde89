#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Rect5.h"

// A screen size with its aspect (width / height; 0 for a zero height).
struct DisplayMode {
  DisplayMode(int w, int h);
  int width;
  int height;
  float aspect;
};

// The display modes of the first display, the desktop mode, the named
// configurations of SystemInfo.xml, and the window and artwork resolutions.
class DisplayConfigurations {
 public:
  // Queries the display; reads the file when the path is not empty.
  explicit DisplayConfigurations(const std::string& path);
  DisplayConfigurations(const DisplayConfigurations&) = delete;
  DisplayConfigurations& operator=(const DisplayConfigurations&) = delete;

  void loadFromXml(const std::string& path);
  // Takes ownership of both; records already owned are kept, not freed twice.
  void setResolutions(DisplayMode* current, DisplayMode* artwork);
  // Adds a mode unless one of the same size is listed.
  void addMode(int width, int height);
  // Largest first: by width, then by height.
  void sortModes();

  const DisplayMode* getCurrentResolution() const { return current_.get(); }
  const DisplayMode* getArtworkResolution() const { return artwork_.get(); }
  const DisplayMode* getDesktopMode() const { return desktop_.get(); }
  const std::vector<DisplayMode*>& getDisplayModes() const { return modes_; }
  const std::map<std::string, DisplayMode*>& getConfigurations() const { return configurations_; }
  float getLargestAspect() const { return largestAspect_; }
  const std::string& getName() const { return name_; }

 private:
  void queryDisplay();

  float largestAspect_ = 0.0f;
  std::string name_ = "default";
  std::unique_ptr<DisplayMode> desktop_;
  // Two records, never one: setResolutions copies a record handed in for both.
  std::unique_ptr<DisplayMode> artwork_;
  std::unique_ptr<DisplayMode> current_;
  Rect5 area_;
  // The records the lists below point at.
  std::vector<std::unique_ptr<DisplayMode>> ownedModes_;
  std::map<std::string, std::unique_ptr<DisplayMode>> ownedConfigurations_;
  std::vector<DisplayMode*> modes_;                       // not owned: ownedModes_, sorted
  std::map<std::string, DisplayMode*> configurations_;  // not owned: ownedConfigurations_
};
