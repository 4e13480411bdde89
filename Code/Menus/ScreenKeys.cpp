#include "Menus/ScreenKeys.h"

#include <SDL.h>

#include "KeyEvent.h"

bool isAdvanceKey(const KeyEvent& event) {
  if (event.kind != KeyEvent::Pressed) return false;
  return event.key == SDLK_RETURN || event.key == SDLK_KP_ENTER || event.key == SDLK_SPACE ||
         event.key == SDLK_ESCAPE;
}
