#pragma once
#include <string>

// The physics engine's collision categories and materials, filled from the
// game's two content files. Both go into the engine's single registries.

// Flag words joined by "," (no blanks): "AVOID" 1, "RESPOND" 2,
// "LET_GO_THROUGH" 4; other words count nothing. No flag at all is reported.
unsigned long parseCollisionFlags(const std::string& text);

// Root CollisionCategories: Category (name, copyFrom | flags with Pair children
// of pairName and pairFlags). False when the file or its root is missing.
bool loadCollisionCategoriesFile(const std::string& path);
// Root MaterialsLibrary: Material (name, density, restitution, dynamicfriction,
// rollingfriction, reflection); a missing value repeats the previous material's.
bool loadMaterialsFile(const std::string& path);
