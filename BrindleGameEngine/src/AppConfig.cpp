#include "AppConfig.h"

#include <tinyxml.h>

#include <cstdio>
#include <memory>

#include "GLTexture.h"
#include "SDLGameApp.h"
#include "XmlAttributes.h"

namespace {
std::unique_ptr<AppConfig> g_appConfig;

// Ranges a sane window and mixer setting fall in; anything else keeps the default.
// Below 640 x 480 the game's panels do not fit; no display shows more than 8K
// (7680 x 4320).
constexpr int kSmallestScreenWidth = 640;
constexpr int kSmallestScreenHeight = 480;
constexpr int kLargestScreenWidth = 7680;
constexpr int kLargestScreenHeight = 4320;
constexpr int kLargestBitDepth = 64;
constexpr int kLargestVolume = 128;

// "major.minor"; a missing minor part is 0. Malformed text leaves both alone.
void readVersion(const bge::XmlReader& xml, const TiXmlElement* root, int& major, int& minor) {
  if (!xml.has(root, "version")) return;
  const std::string version = xml.readString(root, "version", "");
  int readMajor = 0;
  int readMinor = 0;
  int used = 0;
  const int parts = std::sscanf(version.c_str(), "%9d%n.%9d%n", &readMajor, &used, &readMinor, &used);
  if (parts < 1 || version[static_cast<size_t>(used)] != '\0' || readMajor < 0 || readMinor < 0) {
    xml.warn(root, "version=\"" + version + "\" is not major.minor; " + std::to_string(major) +
                       "." + std::to_string(minor) + " kept");
    return;
  }
  major = readMajor;
  minor = parts == 2 ? readMinor : 0;
}
}  // namespace

AppConfig* AppConfig::instance() {
  if (!g_appConfig) g_appConfig.reset(new AppConfig());  // the constructor is private
  return g_appConfig.get();
}

void AppConfig::destroyInstance() { g_appConfig.reset(); }

bool AppConfig::loadFromFile(const std::string& path) {
  // Every value the file leaves out keeps what the configuration has.
  const bge::XmlReader xml(path);
  TiXmlDocument document;
  if (!xml.load(document)) return false;
  const TiXmlElement* root = xml.root(document, "Config");
  if (!root) return false;

  readVersion(xml, root, versionMajor_, versionMinor_);

  if (const TiXmlElement* application = root->FirstChildElement("Application")) {
    const TiXmlElement* resolution = application->FirstChildElement("ScreenResolution");
    width_ = xml.readInt(resolution, "width", width_, kSmallestScreenWidth, kLargestScreenWidth);
    height_ = xml.readInt(resolution, "height", height_, kSmallestScreenHeight, kLargestScreenHeight);
    bitDepth_ = xml.readInt(resolution, "bitDepth", bitDepth_, 0, kLargestBitDepth);
    caption_ = xml.readString(application->FirstChildElement("WindowCaption"), "name", caption_);
  }
  const TiXmlElement* savegame = root->FirstChildElement("Savegame");
  saveFolder_ = xml.readString(savegame, "folder", saveFolder_);
  saveFileName_ = xml.readString(savegame, "filename", saveFileName_);
  creditsFile_ = xml.readString(root->FirstChildElement("Credits"), "filename", creditsFile_);
  surveyUrl_ = xml.readString(root->FirstChildElement("SurveyURL"), "URL", surveyUrl_);

  if (versionMajor_ == 1 && versionMinor_ == 0) {
    const TiXmlElement* language = root->FirstChildElement("Language");
    activeLanguage_ = xml.readString(language, "active", activeLanguage_);
    labelsFile_ = xml.readString(language, "labels", labelsFile_);
  } else if (versionMajor_ == 1 && versionMinor_ == 1) {
    if (const TiXmlElement* supported = root->FirstChildElement("SupportedLanguages")) {
      startingLanguage_ = xml.readString(supported, "startingLanguage", startingLanguage_);
      for (const TiXmlElement* e = supported->FirstChildElement("Language"); e;
           e = e->NextSiblingElement("Language")) {
        Language language{xml.readString(e, "active", ""), xml.readString(e, "labels", ""),
                          xml.readString(e, "flag", "")};
        if (xml.has(e, "active") && language.active == startingLanguage_) {
          labelsFile_ = language.labels;
          activeLanguage_ = startingLanguage_;
        }
        languages_.push_back(language);
      }
    }
  }

  if (const TiXmlElement* logos = root->FirstChildElement("LogoScreens")) {
    for (const TiXmlElement* e = logos->FirstChildElement("Screen"); e; e = e->NextSiblingElement("Screen")) {
      logoScreens_.push_back({xml.readString(e, "type", ""), xml.readString(e, "folder", ""),
                              xml.readString(e, "filename", "")});
    }
  }
  if (const TiXmlElement* cursors = root->FirstChildElement("MouseCursors")) {
    cursorFolder_ = xml.readString(cursors, "folder", cursorFolder_);
    for (const TiXmlElement* e = cursors->FirstChildElement("Cursor"); e; e = e->NextSiblingElement("Cursor")) {
      Cursor cursor;
      cursor.id = xml.readInt(e, "id", cursor.id);
      cursor.imageFile = xml.readString(e, "imageFile", "");
      cursors_.push_back(cursor);
    }
  }
  currentCursor_ = -1;

  const TiXmlElement* volume = root->FirstChildElement("Volume");
  soundVolume_ = xml.readInt(volume, "soundVolume", soundVolume_, 0, kLargestVolume);
  musicVolume_ = xml.readInt(volume, "musicVolume", musicVolume_, 0, kLargestVolume);

  const std::string mode = xml.readString(root->FirstChildElement("FullscreenMode"), "mode", "");
  if (mode == "auto") fullScreenMode_ = ModeAuto;
  else if (mode == "windowed") fullScreenMode_ = ModeWindowed;
  else if (mode == "fullScreen") fullScreenMode_ = ModeFullScreen;
  return true;
}

bool AppConfig::loadCursor(int index) {
  SDLGameApp* app = SDLGameApp::instance();
  if (!app || index < 0 || index >= static_cast<int>(cursors_.size())) return false;
  currentCursor_ = index;
  const std::string path = cursorFolder_ + cursors_[static_cast<size_t>(index)].imageFile;
  app->setCursorTexture(new GLTexture(path, nullptr, GLTexture::KeepImage, GLTexture::kLinear));
  return true;
}
