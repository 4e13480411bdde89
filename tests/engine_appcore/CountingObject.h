#pragma once
// An application-core object that records its updates and its deletion.
#include <functional>
#include <string>
#include <vector>

#include "AppCoreObject.h"

class CountingObject : public AppCoreObject {
 public:
  CountingObject(std::string name, std::vector<std::string>& journal)
      : name_(std::move(name)), journal_(journal) {}
  ~CountingObject() override { journal_.push_back(name_ + ":deleted"); }

  void update() override {
    journal_.push_back(name_ + ":update");
    if (onUpdate) onUpdate();
  }

  std::function<void()> onUpdate;

 private:
  std::string name_;
  std::vector<std::string>& journal_;
};
