#include "MouseListeningWidget.h"

void MouseListeningWidget::mousePressed(const PointingDeviceEvent& event) {
  if (listener_) listener_->mousePressed(event);
}
void MouseListeningWidget::mouseMoved(const PointingDeviceEvent& event) {
  if (listener_) listener_->mouseMoved(event);
}
void MouseListeningWidget::mouseReleased(const PointingDeviceEvent& event) {
  if (listener_) listener_->mouseReleased(event);
}
void MouseListeningWidget::onWheelUp(const PointingDeviceEvent& event) {
  if (listener_) listener_->mouseWheelUp(event);
}
void MouseListeningWidget::onWheelDown(const PointingDeviceEvent& event) {
  if (listener_) listener_->mouseWheelDown(event);
}
void MouseListeningWidget::onPointerEnter() {
  if (listener_) listener_->mouseEntered();
}
void MouseListeningWidget::onPointerExit() {
  if (listener_) listener_->mouseExited();
}
