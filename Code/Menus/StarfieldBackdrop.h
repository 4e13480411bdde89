#pragma once

class Graphics;

// The deep-space backdrop both demonstration screens draw under their widgets.
void drawStarfieldBackdrop(Graphics* g, int seed);
