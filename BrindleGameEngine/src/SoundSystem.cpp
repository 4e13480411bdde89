#include "SoundSystem.h"

#include <SDL_mixer.h>

void SDLSoundSystem::setMusicVolume(int volume) { Mix_VolumeMusic(volume); }

void SDLSoundSystem::setSoundVolume(int channel, int volume) { Mix_Volume(channel, volume); }
