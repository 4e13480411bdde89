#pragma once
#include <memory>
#include <string>

#include "Foundation/Math/QlnMath.h"
#include "Widget.h"
#include "sdk/xEntity.h"

class ResourceManager;
class SceneEntityManager;
class TiXmlElement;
class xBaseSupportTowerEntity;
class xBaseTowerEntity;
class xSimpleEnemy;
namespace bge {
class XmlReader;
}
namespace QuillonPHX2D {
class xBody;
class xShape;
}  // namespace QuillonPHX2D

// Every object of a level: a widget of the level screen and, at the same time, an
// owner object of the physics world. The physics world owns it (its entity list);
// the scene entity manager only shows it.
class xSharkEntity : public Widget, public QuillonPHX2D::xEntity {
 public:
  xSharkEntity();
  ~xSharkEntity() override;

  void draw(Graphics* g, ScreenBase* screen) override;
  void drawLayer(Graphics* g, ScreenBase* screen) override;
  virtual void loadResources(ResourceManager* resources);

  // A bare entity lets every contact pass without effect.
  bool notifyCollision(QuillonPHX2D::xShape* own, QuillonPHX2D::xShape* other,
                       const QuillonPHX2D::Vec2& point, float depth,
                       const QuillonPHX2D::Vec2& normal) override;
  // The body's placement, else the main shape's, else zero.
  QuillonPHX2D::Vec3 absPlacement() override;
  void setAbsPlacement(const QuillonPHX2D::Vec3& p) override;

  SceneEntityManager* getSceneEntityManager() const { return sceneEntityManager_; }
  void setSceneEntityManager(SceneEntityManager* manager) { sceneEntityManager_ = manager; }
  QuillonPHX2D::xBody* body() const { return body_.get(); }
  QuillonPHX2D::xShape* shape() const { return shape_.get(); }
  const QuillonPHX2D::Vec3& placement() const { return placement_; }
  // The name of the main shape's collision category, or empty.
  std::string categoryName() const;

  // The entity as a ship, a tower or a support tower, else null: what a dynamic_cast would
  // answer, without its cost on the level's walks over every entity each frame.
  virtual xSimpleEnemy* asEnemy() { return nullptr; }
  virtual xBaseTowerEntity* asTower() { return nullptr; }
  virtual xBaseSupportTowerEntity* asSupportTower() { return nullptr; }

 protected:
  // Built, and let go of shape first, by the primitive entity.
  std::unique_ptr<QuillonPHX2D::xBody> body_;
  std::unique_ptr<QuillonPHX2D::xShape> shape_;
  QuillonPHX2D::Vec3 placement_;
  SceneEntityManager* sceneEntityManager_ = nullptr;  // not owned
};

// Base of every entity description. A description is read once from its file and
// creates any number of entities.
class xSharkEntityDesc : public QuillonPHX2D::xEntityDesc {
 public:
  xSharkEntityDesc() = default;
  xSharkEntityDesc(const xSharkEntityDesc&) = default;
  xSharkEntityDesc& operator=(const xSharkEntityDesc&) = default;
  ~xSharkEntityDesc() override = default;

  // The reader names the file in every message it prints.
  virtual bool readXml(const TiXmlElement* element, const bge::XmlReader& reader) = 0;
  virtual bool loadFromFile(const std::string& path) = 0;

  // Copied into every entity created from this description; not owned.
  SceneEntityManager* sceneEntityManager = nullptr;
};
