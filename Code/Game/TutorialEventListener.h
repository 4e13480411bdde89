#pragma once

// What a tutorial overlay tells the screen below it: the event id of the slide
// the player clicked on, and kTutorialEnded once when the overlay closes.
class TutorialEventListener {
 public:
  // Sent once when the tutorial closes, by its last slide or by SKIP.
  static constexpr int kTutorialEnded = 255;

  virtual ~TutorialEventListener() = default;
  virtual void onTutorialEvent(int eventId) = 0;
};
