#pragma once
#include <string>
#include <vector>

#include "Color.h"
#include "Game/Entities/xSharkEntity.h"

class Texture;

// What an entity description file says about the entity's body, shape and picture.
// Read from the root element `Entity`; derived descriptions add their own attributes.
class xPhysicsPrimitiveEntityDesc : public xSharkEntityDesc {
 public:
  enum BodyType { Body3DOF = 0, Body2DOF = 1, BodyKinematic = 2 };
  enum PrimitiveType { Circle = 0, Box = 1, LineSegment = 2 };

  xPhysicsPrimitiveEntityDesc() = default;
  xPhysicsPrimitiveEntityDesc(const xPhysicsPrimitiveEntityDesc&) = default;
  xPhysicsPrimitiveEntityDesc& operator=(const xPhysicsPrimitiveEntityDesc&) = default;
  ~xPhysicsPrimitiveEntityDesc() override = default;

  QuillonPHX2D::xEntity* createEntity() override;
  // Stops at the first bad attribute; what was read before stays.
  bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) override;
  bool loadFromFile(const std::string& path) override;

  bool ped_bDynamic = true;
  int bodyType = Body3DOF;
  int primitiveType = Circle;
  float bodyMass = 1000.0f;
  float autoDisableTime = 0.2f;
  std::string material = "default_Material";
  std::string collisionCategory;
  QuillonPHX2D::Vec3 absPlacement{0.0f, 0.0f, 0.0f};
  QuillonPHX2D::Vec2 shapeFeatures{0.0f, 0.0f};
  QuillonPHX2D::Vec2 startPoint{0.0f, 0.0f};
  QuillonPHX2D::Vec2 endPoint{0.0f, 0.0f};
  std::string texturePath;
  float bounceVel = -1.0f;
  bool debugRender = true;
  int renderingPriority = 100;
  Texture* texture = nullptr;  // not owned: the application's resource catalogue keeps it
  Color imageColor{0, 0, 0, 0};
  // Whether the last reading of the base attributes succeeded; derived readers
  // answer true regardless, so this is how a caller tells a usable description.
  bool complete = false;
  // The file the description was read from, for messages; empty for one made in code.
  std::string file;
  // What a message calls the description: its file, or that it has none.
  std::string fileForMessages() const { return file.empty() ? std::string("(no file)") : file; }
};

// One primitive shape, optionally carried by one rigid body, drawn as one texture
// turned with the body. The concrete base of every game entity.
class xPhysicsPrimitiveEntity : public xSharkEntity {
 public:
  xPhysicsPrimitiveEntity() = default;
  ~xPhysicsPrimitiveEntity() override;

  void draw(Graphics* g, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  // Builds the shape and (for a dynamic description) the body. False when the
  // description cannot make a usable entity; the reason has been printed.
  void notifyCreated(QuillonPHX2D::xEntityDesc* desc) override;

  bool isBuilt() const { return shape_ != nullptr; }
  Texture* texture() const { return texture_; }
  const std::vector<QuillonPHX2D::Vec2>& outline() const { return outline_; }
  float bounceVel() const { return bounceVel_; }
  int renderingPriority() const { return renderingPriority_; }

 protected:
  // The picture and the debug outline, as the layered pass draws them.
  void drawPicture(Graphics* g);
  // Shared by entities that build their shape themselves.
  void copyLooks(const xPhysicsPrimitiveEntityDesc& desc);

  std::vector<QuillonPHX2D::Vec2> outline_;
  float bounceVel_ = -1.0f;
  bool debugRender_ = true;
  int renderingPriority_ = 100;
  Color imageColor_ = Color::white;
  Texture* texture_ = nullptr;  // not owned
  bool collisionResponse_ = true;
};

// Finds the texture of an entity file's picture in the application's catalogue, or
// makes and registers it the first time, so every entity of a kind shares one.
Texture* obtainEntityTexture(const std::string& path, int glFilter);
