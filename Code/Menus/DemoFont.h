#pragma once

class Font;
class ResourceManager;

// The 24-pixel interface font: the global one when the application registered
// it, else loaded into the given screen catalogue (which then owns it).
Font* demoFont(ResourceManager* screenResources);
