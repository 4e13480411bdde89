#pragma once

class Graphics;
class ResourceManager;

// A line of text in each of the game's four fonts and a turned picture, drawn
// on the first screen: one look shows that fonts, textures and transforms work.
// Fonts come from the global catalogue when it has them; what is missing is
// made once and kept in the given catalogue.
void drawMediaShowcase(Graphics* graphics, ResourceManager* resources);
