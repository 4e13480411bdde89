#pragma once

class GameApp;

// The window as the player's settings want it. A window forced by "-windowed"
// stays a window whatever the profile asks for.
bool wantsFullScreen(GameApp* app);
// Rebuilds the window in the wanted mode when it differs from the current one;
// true when it was rebuilt.
bool applyFullScreenSetting(GameApp* app);
// Whether the window really is full screen now (not what the profile asks for).
bool windowIsFullScreen(GameApp* app);
// The player chose the window mode in the options: the choice beats "-windowed"
// from now on, so applyFullScreenSetting follows the profile.
void releaseForcedWindow(GameApp* app);
