#include "AppConfig.h"

#include <tinyxml.h>

#include <cstdio>
#include <cstdlib>

#include "GLTexture.h"
#include "SDLGameApp.h"
#include "XmlFile.h"

namespace {
AppConfig* g_appConfig = nullptr;

// Every reader below leaves the field alone when the attribute is missing.
void readText(const TiXmlElement* element, const char* name, std::string& out) {
  if (!element) return;
  if (const char* value = element->Attribute(name)) out = value;
}

void readInt(const TiXmlElement* element, const char* name, int& out) {
  if (!element) return;
  if (const char* value = element->Attribute(name)) out = std::atoi(value);
}

std::string textOrEmpty(const TiXmlElement* element, const char* name) {
  const char* value = element->Attribute(name);
  return value ? value : "";
}

void readVersion(const char* text, int& major, int& minor) {
  if (!text) return;
  const std::string version = text;
  const size_t dot = version.find('.');
  major = std::atoi(version.substr(0, dot).c_str());
  minor = dot == std::string::npos ? 0 : std::atoi(version.substr(dot + 1).c_str());
}
}  // namespace

AppConfig* AppConfig::instance() {
  if (!g_appConfig) g_appConfig = new AppConfig();
  return g_appConfig;
}

void AppConfig::destroyInstance() {
  delete g_appConfig;
  g_appConfig = nullptr;
}

bool AppConfig::loadFromFile(const std::string& path) {
  TiXmlDocument document(path.c_str());
  if (!loadXmlFile(document, path)) {
    std::printf("ERROR: the configuration file %s %s; defaults are used\n", path.c_str(),
                xmlLoadProblem(document, path).c_str());
    return false;
  }
  const TiXmlElement* root = document.RootElement();
  if (!root || std::string(root->Value()) != "Config") {
    std::printf("ERROR: the configuration file %s has no <Config> element; defaults are used\n",
                path.c_str());
    return false;
  }

  readVersion(root->Attribute("version"), versionMajor_, versionMinor_);

  if (const TiXmlElement* application = root->FirstChildElement("Application")) {
    const TiXmlElement* resolution = application->FirstChildElement("ScreenResolution");
    readInt(resolution, "width", width_);
    readInt(resolution, "height", height_);
    readInt(resolution, "bitDepth", bitDepth_);
    readText(application->FirstChildElement("WindowCaption"), "name", caption_);
  }
  const TiXmlElement* savegame = root->FirstChildElement("Savegame");
  readText(savegame, "folder", saveFolder_);
  readText(savegame, "filename", saveFileName_);
  readText(root->FirstChildElement("Credits"), "filename", creditsFile_);
  readText(root->FirstChildElement("SurveyURL"), "URL", surveyUrl_);

  if (versionMajor_ == 1 && versionMinor_ == 0) {
    const TiXmlElement* language = root->FirstChildElement("Language");
    readText(language, "active", activeLanguage_);
    readText(language, "labels", labelsFile_);
  } else if (versionMajor_ == 1 && versionMinor_ == 1) {
    if (const TiXmlElement* supported = root->FirstChildElement("SupportedLanguages")) {
      readText(supported, "startingLanguage", startingLanguage_);
      for (const TiXmlElement* e = supported->FirstChildElement("Language"); e;
           e = e->NextSiblingElement("Language")) {
        Language language{textOrEmpty(e, "active"), textOrEmpty(e, "labels"), textOrEmpty(e, "flag")};
        if (e->Attribute("active") && language.active == startingLanguage_) {
          labelsFile_ = language.labels;
          activeLanguage_ = startingLanguage_;
        }
        languages_.push_back(language);
      }
    }
  }

  if (const TiXmlElement* logos = root->FirstChildElement("LogoScreens")) {
    for (const TiXmlElement* e = logos->FirstChildElement("Screen"); e; e = e->NextSiblingElement("Screen")) {
      logoScreens_.push_back({textOrEmpty(e, "type"), textOrEmpty(e, "folder"), textOrEmpty(e, "filename")});
    }
  }
  if (const TiXmlElement* cursors = root->FirstChildElement("MouseCursors")) {
    readText(cursors, "folder", cursorFolder_);
    for (const TiXmlElement* e = cursors->FirstChildElement("Cursor"); e; e = e->NextSiblingElement("Cursor")) {
      Cursor cursor;
      readInt(e, "id", cursor.id);
      cursor.imageFile = textOrEmpty(e, "imageFile");
      cursors_.push_back(cursor);
    }
  }
  currentCursor_ = -1;

  const TiXmlElement* volume = root->FirstChildElement("Volume");
  readInt(volume, "soundVolume", soundVolume_);
  readInt(volume, "musicVolume", musicVolume_);

  std::string mode;
  readText(root->FirstChildElement("FullscreenMode"), "mode", mode);
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
