#pragma once

// What a tutorial overlay tells the screen below it: the event id of the slide
// the player clicked on, and kTutorialEnded once when the overlay closes.
class TutorialEventListener {
 public:
  // Sent once when the tutorial closes, by its last slide or by SKIP.
  static constexpr int kTutorialEnded = 255;
  // The slides' events: choose the first tower kind, press at the pointer, advance.
  enum { kTutorialChooseTower = 1, kTutorialPressAtPointer = 2, kTutorialAdvance = -1 };

  virtual ~TutorialEventListener() = default;
  virtual void onTutorialEvent(int eventId) = 0;
};
