#pragma once
#include <string>
#include <vector>

// The application configuration read from content/config/config.xml.
class AppConfig {
 public:
  enum FullScreenMode { ModeUnset = -1, ModeAuto = 0, ModeWindowed = 1, ModeFullScreen = 2 };

  struct LogoScreen {
    std::string type;
    std::string folder;
    std::string fileName;
  };
  struct Cursor {
    int id = 0;
    std::string imageFile;
  };
  struct Language {
    std::string active;
    std::string labels;
    std::string flag;
  };

  static AppConfig* instance();
  static void destroyInstance();

  // Fills the configuration; a file that cannot be read changes nothing and is
  // named on standard output. Returns whether the file was read.
  bool loadFromFile(const std::string& path);
  // Makes the cursor at that position in the file the application's cursor.
  bool loadCursor(int index);

  int getWidth() const { return width_; }
  int getHeight() const { return height_; }
  int getBitDepth() const { return bitDepth_; }
  const std::string& getCaption() const { return caption_; }
  const std::string& getSaveFolder() const { return saveFolder_; }
  const std::string& getSaveFileName() const { return saveFileName_; }
  const std::string& getCreditsFile() const { return creditsFile_; }
  const std::string& getActiveLanguage() const { return activeLanguage_; }
  const std::string& getLabelsFile() const { return labelsFile_; }
  const std::string& getStartingLanguage() const { return startingLanguage_; }
  const std::string& getCursorFolder() const { return cursorFolder_; }
  const std::string& getSurveyUrl() const { return surveyUrl_; }
  int getCurrentCursor() const { return currentCursor_; }
  int getSoundVolume() const { return soundVolume_; }
  int getMusicVolume() const { return musicVolume_; }
  int getFullScreenMode() const { return fullScreenMode_; }
  int getVersionMajor() const { return versionMajor_; }
  int getVersionMinor() const { return versionMinor_; }
  const std::vector<LogoScreen>& getLogoScreens() const { return logoScreens_; }
  const std::vector<Cursor>& getCursors() const { return cursors_; }
  const std::vector<Language>& getLanguages() const { return languages_; }

  // The application's own values where the file left them unset.
  void setSaveFolder(const std::string& folder) { saveFolder_ = folder; }
  void setSaveFileName(const std::string& fileName) { saveFileName_ = fileName; }
  void setLabelsFile(const std::string& path) { labelsFile_ = path; }
  void setCaption(const std::string& caption) { caption_ = caption; }
  // The window size the player chose in the game.
  void setResolution(int width, int height) {
    width_ = width;
    height_ = height;
  }

  // Screens copy these at construction; the game sets both to 0.
  int getScreenOffsetX() const { return screenOffsetX_; }
  int getScreenOffsetY() const { return screenOffsetY_; }
  void setScreenOffset(int x, int y) { screenOffsetX_ = x; screenOffsetY_ = y; }

 private:
  AppConfig() = default;

  int width_ = -1;
  int height_ = -1;
  int bitDepth_ = -1;
  std::string caption_ = "BrindleApplication";
  std::string saveFolder_;
  std::string saveFileName_;
  std::string creditsFile_;
  std::string activeLanguage_;
  std::string labelsFile_;
  std::string startingLanguage_;
  std::string cursorFolder_;
  std::string surveyUrl_;
  int currentCursor_ = -1;
  int soundVolume_ = 75;
  int musicVolume_ = 50;
  int fullScreenMode_ = ModeUnset;
  int versionMajor_ = 1;
  int versionMinor_ = 0;
  std::vector<LogoScreen> logoScreens_;
  std::vector<Cursor> cursors_;
  std::vector<Language> languages_;
  int screenOffsetX_ = 0;
  int screenOffsetY_ = 0;
};
