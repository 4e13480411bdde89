#pragma once
#include <string>
#include <vector>

namespace QuillonPHX2D { class xCategoryDispatcher; }

// The physics engine's collision categories and materials, filled from the
// game's two content files. Both go into the engine's single registries.

// Flag words joined by "," (no blanks): "AVOID" 1, "RESPOND" 2,
// "LET_GO_THROUGH" 4; other words count nothing. No flag at all is reported.
unsigned long parseCollisionFlags(const std::string& text);

// Root CollisionCategories: Category (name, copyFrom | flags with Pair children
// of pairName and pairFlags). False when the file or its root is missing.
// Into the engine's registry unless another is given.
bool loadCollisionCategoriesFile(const std::string& path, QuillonPHX2D::xCategoryDispatcher* into = nullptr);

// One Material of the file, as it goes to the engine.
struct MaterialValues {
  std::string name = "default";
  float density = 1000.0f;
  float restitution = 0.70710677f;
  float dynamicFriction = 0.70710677f;
  float rollingFriction = 0.70710677f;
  float reflection = 0.5f;
};
// Root MaterialsLibrary: Material (name, density, restitution, dynamicfriction,
// rollingfriction, reflection); a missing value repeats the previous material's
// (the first one's, the engine's default material). False when the file or its
// root is missing.
bool readMaterialsFile(const std::string& path, std::vector<MaterialValues>& out);
// Reads the file and creates its materials in the engine's registry.
bool loadMaterialsFile(const std::string& path);
