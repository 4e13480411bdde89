#pragma once
#include "ScreenBase.h"
#include "widgets/DialogListener.h"

class Texture;

// Asks before a new game erases the campaign progress. "Yes" resets the
// profile, saves and, once faded out, tells the screen beneath to go on to
// mission control; "no" only returns to it.
class GameProgressDialog : public ScreenBase, public bge::DialogListener {
 public:
  static constexpr int kYesButton = 102;
  static constexpr int kNoButton = 103;
  static constexpr int kExitReset = 1;
  static constexpr int kExitKeep = 0;
  static constexpr const char* kDialogFile = "content/config/GameProgressDialog.xml";

  // The parent is the screen that pushed the dialog; not owned.
  explicit GameProgressDialog(ScreenBase* parent);

  void prepare() override {}
  void init() override;
  void drawBackground(Graphics* g) override;
  void onExitTransitionDone(int exitCode) override;
  void onDialogEvent(int dialogId, int kind, bge::Dialog* dialog) override;

 private:
  ScreenBase* parent_;  // not owned
};
