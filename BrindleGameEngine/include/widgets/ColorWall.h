#pragma once
#include <memory>

#include "Color.h"
#include "Widget.h"
#include "tinyaction/ActionListener.h"

class TiXmlElement;
class TinyAction;

namespace bge {

// A rectangle of one colour whose alpha fades in and out. While it shows it
// swallows the pointer, so the widgets under it are cut off.
class ColorWall : public Widget, public ActionListener {
 public:
  ColorWall(int layoutId, const Color& color, int fadeTime);
  ~ColorWall() override;

  static ColorWall* fromXml(TiXmlElement* element);

  void update(int dt, ScreenBase* screen) override;
  void draw(Graphics* graphics, ScreenBase* screen) override;
  void actionFinished(int tag) override;

  virtual void startFadeIn();
  virtual void fadeIn(int ms);
  void fadeOut();

  int getLayoutId() const { return layoutId_; }
  int getAlpha() const { return alpha_; }
  int getFadeTime() const { return fadeTime_; }
  const Color& getColor() const { return color_; }

 private:
  void startFade(int delta, int ms);

  int layoutId_;
  int alpha_ = 0;
  int fadeTime_;
  Color color_;
  std::unique_ptr<TinyAction> fade_;
};

}  // namespace bge
