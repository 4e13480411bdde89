#include "Widget.h"

#include "WidgetManager.h"

bool Widget::hitTest(int x, int y) const { return geometry_.contains(x, y); }

void Widget::setPosition(int x, int y, bool silent) {
  const Rect5 old = geometry_;
  geometry_.x = static_cast<float>(x);
  geometry_.y = static_cast<float>(y);
  if (silent) return;
  onPositionChanged(old, geometry_);
  onGeometryChanged(old, geometry_);
}

void Widget::setZ(int depth) {
  const float z = static_cast<float>(depth);
  if (manager_ && z != geometry_.z) manager_->depthChanged();
  geometry_.z = z;
}

void Widget::setGeometry(const Rect5& geometry) {
  const Rect5 old = geometry_;
  if (manager_ && geometry.z != geometry_.z) manager_->depthChanged();
  geometry_ = geometry;
  onGeometryChanged(old, geometry_);
}

void Widget::setRect(int x, int y, int width, int height) {
  const Rect5 old = geometry_;
  geometry_.x = static_cast<float>(x);
  geometry_.y = static_cast<float>(y);
  geometry_.width = static_cast<float>(width);
  geometry_.height = static_cast<float>(height);
  onResized(old, geometry_);
  onGeometryChanged(old, geometry_);
}

void Widget::setSize(int width, int height) {
  const Rect5 old = geometry_;
  geometry_.width = static_cast<float>(width);
  geometry_.height = static_cast<float>(height);
  onResized(old, geometry_);
  onGeometryChanged(old, geometry_);
}

void Widget::moveBy(int dx, int dy) {
  const Rect5 old = geometry_;
  geometry_.x += static_cast<float>(dx);
  geometry_.y += static_cast<float>(dy);
  onGeometryChanged(old, geometry_);
}

void Widget::setEnabled(bool enabled) {
  enabled_ = enabled;
  if (manager_) manager_->refreshHover(this, false);
  if (enabled) onEnabled(); else onDisabled();
}

void Widget::raise() {
  if (!manager_) return;
  manager_->raiseWidget(this);
  onRaised();
}

void Widget::attach(WidgetManager* manager) {
  manager_ = manager;
  onAttached();
}

void Widget::detach() {
  onDetached();
  manager_ = nullptr;
}
