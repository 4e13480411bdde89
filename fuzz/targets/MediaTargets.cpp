// Media descriptions: the shader list, bitmap fonts, the strings file and
// particle elements.
#include <tinyxml.h>

#include <string>

#include "AngelFont.h"
#include "FuzzSupport.h"
#include "GLTexture.h"
#include "ImageFile.h"
#include "LabelManager.h"
#include "Targets.h"
#include "XmlAttributes.h"
#include "particles/ParticleEngine.h"
#include "particles/ParticlePatch.h"
#include "shader/glShaderManager.h"

namespace fuzz {

namespace {

// Every byte value, line breaks and the caret's markup byte.
std::string everyCharacter() {
  std::string text = "Station Control\nWelcome aboard, commander. #Ok# ";
  for (int c = 1; c < 256; ++c) text += static_cast<char>(c);
  return text + "\r\nlast line";
}

}  // namespace

void fuzzShaderList(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "shaderslist.xml");
  gsx::glShaderManager manager;
  gsx::loadShaderList(manager, path.c_str());
}

void fuzzAngelFont(const uint8_t* data, size_t size) {
  // Beside the links to the shipped pages, so a description finds them.
  const std::string path = writeInput(data, size, "font.fnt");
  AngelFont font(path, GLTexture::kLinear);
  const std::string text = everyCharacter();
  CheckingGraphics g;
  (void)font.textWidth(text);
  font.drawText(&g, 10, 20, text, Color::white);
  font.drawTextAligned(&g, Rect5(0.0f, 0.0f, 300.0f, 200.0f), text, Color::white, Font::AlignCenter,
                       Font::AlignMiddle, true);
  font.drawTextRotated(&g, Rect5(5.0f, 5.0f, 120.0f, 40.0f), 30.0f, text, Color::white,
                       Font::AlignRight, Font::AlignBottom, true);
  std::string wrapped;
  font.breakLines(text, wrapped, 80);
  const Rect5 measured = font.measureWrapped(text, 150);
  requireFinite(measured.height, "a measured text block");
  for (int i = -1; i <= static_cast<int>(text.size()); i += 7) {
    (void)font.caretPosition(text, i, QuillonPHX2D::Vec2(1.0f, 2.0f), 0);
  }
  font.unloadPages();
  font.reloadPages();
}

void fuzzStringsFile(const uint8_t* data, size_t size) {
  const std::string path = writeInput(data, size, "strings.xml");
  LabelManager labels;
  labels.loadFromXml(path);
  (void)labels.getLabel("LABEL_OK");
  (void)labels.getLabel("");
  (void)labels.countWords();
  // The table loaded twice must not keep anything of the first load.
  labels.loadFromXml(path);
}

// A document whose elements are particle elements, as the effects files hold them.
void fuzzParticleElement(const uint8_t* data, size_t size) {
  bge::XmlReader xml("particles.xml");
  TiXmlDocument doc;
  xml.parse(doc, asText(data, size), TIXML_ENCODING_UTF8);
  const TiXmlElement* root = doc.RootElement();
  if (!root) return;
  ParticleEngine* engine = ParticleEngine::instance();
  int key = 0;
  for (const TiXmlElement* e = root->FirstChildElement(); e && key < 64; e = e->NextSiblingElement()) {
    ParticlePatch* patch = new ParticlePatch(1000);
    patch->readFromXml(e);
    patch->setActive(true);
    engine->registerPatch(key++, patch);
  }
  if (key == 0) {
    ParticlePatch* patch = new ParticlePatch(1000);
    patch->readFromXml(root);
    patch->setActive(true);
    engine->registerPatch(key++, patch);
  }
  for (int frame = 0; frame < 90; ++frame) engine->update(frame % 7 == 0 ? 1 : 16);
  for (int k = 0; k < key; ++k) {
    const ParticlePatch* patch = engine->getPatch(k);
    requireFinite(patch->x(), "a particle's position");
    requireFinite(patch->y(), "a particle's position");
  }
  engine->clear();
}

void fuzzImageFile(const uint8_t* data, size_t size) {
  // The header is measured through a stream first, then the whole file is loaded.
  int width = 0;
  int height = 0;
  std::string kind;
  // SDL makes no stream over nothing.
  if (SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size))) {
    if (bge::readImageSize(stream, width, height, kind) && (width <= 0 || height <= 0)) {
      finding("a measured image with no area");
    }
    SDL_RWclose(stream);
  }
  const std::string path = writeInput(data, size, "image.png");
  if (SDL_Surface* surface = bge::loadImageSurface(path)) {
    if (surface->w > bge::kMaxImageSide || surface->h > bge::kMaxImageSide) finding("an image over the side limit");
    SDL_FreeSurface(surface);
  }
}

}  // namespace fuzz
