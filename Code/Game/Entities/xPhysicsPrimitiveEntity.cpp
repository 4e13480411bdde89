#include "Game/Entities/xPhysicsPrimitiveEntity.h"

#include <tinyxml.h>

#include <new>

#include "AssertReport.h"
#include "CollisionContext/Categories/CategoryDispatcher.h"
#include "CollisionContext/Materials/MaterialDispatcher.h"
#include "Collision/Shapes/xPrimitive.h"
#include "Collision/Shapes/xPrimitiveShape.h"
#include "Collision/Shapes/xShapeDesc.h"
#include "Dynamics/Bodies/xBody.h"
#include "Dynamics/Bodies/xBodyDesc.h"
#include "GLTexture.h"
#include "GameApp.h"
#include "Graphics.h"
#include "ResourceManager.h"
#include "SafeDelete.h"
#include "Utilities.h"
#include "WidgetManager.h"
#include "XmlAttributes.h"

using namespace QuillonPHX2D;

namespace {

// Depth of the debug outline, in front of every picture.
constexpr float kOutlineDepth = 300.0f;

}  // namespace

Texture* obtainEntityTexture(const std::string& path, int glFilter) {
  GameApp* app = GameApp::instance();
  ResourceManager* resources = app ? app->globalResourceManager() : nullptr;
  if (!resources || path.empty()) return nullptr;
  if (Texture* known = resources->findTexture(path)) return known;
  Texture* made = new GLTexture(path, nullptr, GLTexture::KeepImage, glFilter);
  // Registering adds it once; the catalogue owns it from here on.
  if (!resources->registerTexture(path, made)) {
    delete made;
    return nullptr;
  }
  return made;
}

// --- description ---

xEntity* xPhysicsPrimitiveEntityDesc::createEntity() {
  xPhysicsPrimitiveEntity* entity = new (std::nothrow) xPhysicsPrimitiveEntity();
  BGE_REPORT_MSG(entity, "no memory for an entity");
  return entity;
}

bool xPhysicsPrimitiveEntityDesc::loadFromFile(const std::string& path) {
  if (!BGE_REPORT_MSG(!path.empty(), "an entity description without a file name")) return false;
  file = path;
  complete = false;
  bge::XmlReader reader(path);
  TiXmlDocument doc;
  if (!reader.load(doc)) return false;
  const TiXmlElement* root = doc.FirstChildElement("Entity");
  if (!root) {
    reader.warn(doc.RootElement(), "xEntityDesc element not defined");
    return false;
  }
  return readXml(root, reader);
}

bool xPhysicsPrimitiveEntityDesc::readXml(const TiXmlElement* e, const bge::XmlReader& reader) {
  complete = false;
  if (!e) {
    reader.warn(e, "xEntityDesc element not defined");
    return false;
  }
  if (reader.readString(e, "descriptionName", "") != "xPhysicsPrimitiveEntityDesc") {
    reader.warn(e, "Wrong type of description");
    return false;
  }
  const int dynamic = reader.readInt(e, "dynamic", -1);
  if (dynamic == -1) {
    reader.warn(e, "Wrong dynamic attribute value!");
    return false;
  }
  ped_bDynamic = dynamic != 0;

  const std::string body = reader.readString(e, "bodyType", "");
  if (body == "2DOF") bodyType = Body2DOF;
  else if (body == "3DOF") bodyType = Body3DOF;
  else if (body == "kinematic") bodyType = BodyKinematic;
  else {
    reader.warn(e, "Wrong bodyType attribute value!");
    return false;
  }

  const std::string primitive = reader.readString(e, "primitiveType", "");
  if (primitive == "circle") primitiveType = Circle;
  else if (primitive == "box") primitiveType = Box;
  else if (primitive == "line_segment") primitiveType = LineSegment;
  else {
    reader.warn(e, "Wrong primitiveType attribute value!");
    return false;
  }

  const float mass = reader.readFloat(e, "bodyMass", 1000.0f);
  if (mass < 0.0f) {
    reader.warn(e, "Wrong bodyMass attribute value!");
    return false;
  }
  bodyMass = mass;

  // Radius, or width and height: never negative (0 where the shape has no use for it).
  shapeFeatures.x = reader.readFloat(e, "shapeFeaturesX", shapeFeatures.x, 0.0f);
  shapeFeatures.y = reader.readFloat(e, "shapeFeaturesY", shapeFeatures.y, 0.0f);
  absPlacement.x = reader.readFloat(e, "absPlacementX", absPlacement.x);
  absPlacement.y = reader.readFloat(e, "absPlacementY", absPlacement.y);
  absPlacement.z = reader.readFloat(e, "absPlacementZ", absPlacement.z);

  const std::string path = reader.readString(e, "texturePath", "");
  if (path.empty()) {
    texturePath.clear();
    texture = nullptr;
  } else if (path != "NONE") {
    texturePath = path;
    texture = obtainEntityTexture(path, GLTexture::kNearest);
  }

  const float disable = reader.readFloat(e, "autoDisableTime", 0.2f);
  if (disable < 0.0f) {
    reader.warn(e, "autoDisableTime attribute value < 0!");
    return false;
  }
  autoDisableTime = disable;

  startPoint.x = reader.readFloat(e, "startPointX", startPoint.x);
  startPoint.y = reader.readFloat(e, "startPointY", startPoint.y);
  endPoint.x = reader.readFloat(e, "endPointX", endPoint.x);
  endPoint.y = reader.readFloat(e, "endPointY", endPoint.y);

  const std::string category = reader.readString(e, "collisionCategory", "default");
  if (!xCategoryDispatcher::Instance()->findCategoryByName(category)) {
    reader.warn(e, "No such collision category!");
    return false;
  }
  collisionCategory = category;

  bounceVel = reader.readFloat(e, "bounceVel", bounceVel);

  const std::string materialName = reader.readString(e, "material", "default");
  if (!xMaterialDispatcher::Instance()->obtainMaterialByName(materialName)) {
    reader.warn(e, "No such material category!");
    return false;
  }
  material = materialName;

  debugRender = reader.readInt(e, "debugRender", 1) != 0;
  renderingPriority = reader.readInt(e, "renderingPriority", renderingPriority);
  imageColor = reader.readColor(e, "imageColor", Color(255, 255, 255, 255));
  complete = true;
  return true;
}

// --- entity ---

xPhysicsPrimitiveEntity::~xPhysicsPrimitiveEntity() {
  // The shape first: it still refers to its body.
  shape_.reset();
  body_.reset();
}

void xPhysicsPrimitiveEntity::copyLooks(const xPhysicsPrimitiveEntityDesc& desc) {
  sceneEntityManager_ = desc.sceneEntityManager;
  bounceVel_ = desc.bounceVel;
  debugRender_ = desc.debugRender;
  renderingPriority_ = desc.renderingPriority;
  imageColor_ = desc.imageColor;
}

namespace {

xPrimitive* makePrimitive(const xPhysicsPrimitiveEntityDesc& d, std::vector<Vec2>& outline) {
  switch (d.primitiveType) {
    case xPhysicsPrimitiveEntityDesc::Circle: return new xPrimitiveCircle(d.shapeFeatures.x);
    case xPhysicsPrimitiveEntityDesc::Box: {
      const float w = d.shapeFeatures.x * 0.5f, h = d.shapeFeatures.y * 0.5f;
      outline.push_back(Vec2(-w, -h));
      outline.push_back(Vec2(w, -h));
      outline.push_back(Vec2(w, h));
      outline.push_back(Vec2(-w, h));
      return new xPrimitiveBox(d.shapeFeatures);
    }
    case xPhysicsPrimitiveEntityDesc::LineSegment: return new xPrimitiveLineSeg(d.startPoint, d.endPoint);
    default: return nullptr;
  }
}

xBody* makeBody(const xPhysicsPrimitiveEntityDesc& d, xPrimitive* primitive) {
  xBody2DOFDesc twoDof;
  xBody3DOFDesc threeDof;
  xBodyDesc* desc = nullptr;
  if (d.bodyType == xPhysicsPrimitiveEntityDesc::Body3DOF) desc = &threeDof;
  else if (d.bodyType == xPhysicsPrimitiveEntityDesc::Body2DOF) desc = &twoDof;
  else return nullptr;
  desc->mass = d.bodyMass;
  desc->inertia = primitive->inertia() * d.bodyMass;
  return desc->createBody();
}

}  // namespace

void xPhysicsPrimitiveEntity::notifyCreated(xEntityDesc* desc) {
  xPhysicsPrimitiveEntityDesc* pedEntity = dynamic_cast<xPhysicsPrimitiveEntityDesc*>(desc);
  if (!BGE_REPORT_MSG(pedEntity, "an entity made from a description that is not an entity file's")) return;
  const xPhysicsPrimitiveEntityDesc& d = *pedEntity;
  BGE_REPORT_MSG(d.primitiveType != xPhysicsPrimitiveEntityDesc::LineSegment || !d.ped_bDynamic,
                 ("entity file " + d.fileForMessages() + ": a line segment cannot be dynamic").c_str());
  xPrimitive* ppri = makePrimitive(d, outline_);
  if (!BGE_ERROR_MSG(ppri, ("entity file " + d.fileForMessages() + ": primitiveType " +
                            std::to_string(d.primitiveType) + " is no circle, box or line; the entity is left out")
                               .c_str()))
    return;
  // A dynamic entity that gets no body would have a shape nothing moves: refuse it
  // before anything is filed with the world.
  xBody* pbo = nullptr;
  if (d.ped_bDynamic) {
    pbo = makeBody(d, ppri);
    if (!BGE_ERROR_MSG(pbo, ("entity file " + d.fileForMessages() + ": a dynamic entity of bodyType " +
                             std::to_string(d.bodyType) + " makes no body; the entity is left out")
                                .c_str())) {
      delete ppri;
      outline_.clear();
      return;
    }
  }

  xPrimitiveShapeDesc shapeDesc;
  shapeDesc.setEnvelope(ppri);
  xMaterial* material = xMaterialDispatcher::Instance()->obtainMaterialByName(d.material);
  shapeDesc.setMaterial(material ? material : xMaterialDispatcher::Instance()->defaultMaterial());
  shape_.reset(shapeDesc.createShape());
  if (!BGE_REPORT_MSG(shape_, ("entity file " + d.fileForMessages() + ": the world made no shape").c_str())) {
    delete pbo;
    return;
  }
  shape_->setOwner(this);

  if (!pbo) {
    shape_->setAbsPlacement(d.absPlacement);
    shape_->setCollisionCategory(d.collisionCategory);
    shape_->initialize();
  } else {
    body_.reset(pbo);
    body_->setOwner(this);
    body_->setAbsPlacement(d.absPlacement);
    body_->setSleepDelay(d.autoDisableTime);
    // Attaching keeps the shape's world placement: centre it on the body, then let
    // the body's start wake the shape with it.
    shape_->setAscendant(body_.get());
    shape_->setRelPlacement(Vec3(0.0f, 0.0f, 0.0f));
    shape_->setBody(body_.get());
    if (!d.collisionCategory.empty()) shape_->setCollisionCategory(d.collisionCategory);
    body_->initialize();
    shape_->initialize();
  }

  if (!d.texturePath.empty()) {
    texture_ = d.texture;
    BGE_ERROR_MSG(texture_, ("entity file " + d.fileForMessages() + ": no picture from " + d.texturePath +
                             "; the entity is drawn without one")
                                .c_str());
  }
  copyLooks(d);
  placement_ = d.absPlacement;
}

bool xPhysicsPrimitiveEntity::notifyCollision(xShape*, xShape* other, const Vec2&, float, const Vec2& normal) {
  if (bounceVel_ > 0.0f && other) {
    if (xBody* b = other->getMainBody()) {
      b->addForce(normal * 10.0f);
      b->setVelocity(normal * bounceVel_);
    }
  }
  return collisionResponse_;
}

void xPhysicsPrimitiveEntity::draw(Graphics*, ScreenBase*) {
  if (WidgetManager* m = getManager()) m->addToLayer(this, renderingPriority_);
}

void xPhysicsPrimitiveEntity::drawLayer(Graphics* g, ScreenBase*) { drawPicture(g); }

void xPhysicsPrimitiveEntity::drawPicture(Graphics* g) {
  if (!shape_) return;
  const xPrimitiveShape* ps = dynamic_cast<const xPrimitiveShape*>(shape_.get());
  if (ps && ps->getEnvelope() && ps->getEnvelope()->getType() == ePrimitiveLineSeg) return;
  const Vec3 p = absPlacement();
  if (texture_) {
    g->pushMatrix();
    g->translate(p.x, p.y);
    g->rotate(qlnRadToDeg(p.z), 0.0f, 0.0f, 1.0f);
    g->translate(-texture_->getWidth() * 0.5f, -texture_->getHeight() * 0.5f);
    g->drawImage(0, 0, texture_, imageColor_);
    g->popMatrix();
  }
  if (debugRender_ && !outline_.empty()) {
    const float depth = g->getDepth();
    g->setDepth(kOutlineDepth);
    const Mtx23 toWorld = qlnVec3ToMtx23(p);
    for (size_t i = 0; i < outline_.size(); ++i) {
      const Vec2 a = toWorld * outline_[i];
      const Vec2 b = toWorld * outline_[(i + 1) % outline_.size()];
      g->drawLine(a, b, 1.0f, false, Color::white, 0, 0);
    }
    g->setDepth(depth);
  }
}
