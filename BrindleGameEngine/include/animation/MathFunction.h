#pragma once
#include <memory>

// Time functions that key frames carry: a functor applied to x with a property
// block that parametrises it.

class MathFunctionProperty {
 public:
  virtual ~MathFunctionProperty() = default;
  virtual MathFunctionProperty* clone() const = 0;
  virtual int getType() const = 0;
};

class MathFunctionPropertyLinear : public MathFunctionProperty {
 public:
  explicit MathFunctionPropertyLinear(float factor) : factor_(factor) {}
  MathFunctionProperty* clone() const override { return new MathFunctionPropertyLinear(factor_); }
  int getType() const override { return 0; }
  float getFactor() const { return factor_; }

 private:
  float factor_;
};

template <typename R, typename A>
class IFunctor {
 public:
  virtual R call(R x, A argument) = 0;
  virtual IFunctor* clone() const = 0;
  virtual ~IFunctor() = default;
};

// Calls a member function of an object it does not own.
template <typename T, typename R, typename A>
class CustomFunctor : public IFunctor<R, A> {
 public:
  typedef R (T::*Method)(R, A);
  CustomFunctor(T* object, Method method) : object_(object), method_(method) {}
  R call(R x, A argument) override { return (object_->*method_)(x, argument); }
  IFunctor<R, A>* clone() const override { return new CustomFunctor(object_, method_); }

 private:
  T* object_;  // not owned: the object whose method is called
  Method method_;
};

class MathFunction {
 public:
  // Takes ownership of both.
  MathFunction(IFunctor<float, MathFunctionProperty*>* functor, MathFunctionProperty* property)
      : property_(property), functor_(functor) {}
  virtual ~MathFunction() = default;
  MathFunction(const MathFunction&) = delete;
  MathFunction& operator=(const MathFunction&) = delete;

  // Kept with the function; evaluate does not use them.
  virtual void setScaleOffset(float scale, float offset) {
    scale_ = scale;
    offset_ = offset;
  }
  virtual float evaluate(float x);
  MathFunction* clone() const;

  float getScale() const { return scale_; }
  float getOffset() const { return offset_; }
  MathFunctionProperty* getProperty() const { return property_.get(); }

 private:
  std::unique_ptr<MathFunctionProperty> property_;
  std::unique_ptr<IFunctor<float, MathFunctionProperty*>> functor_;
  float scale_ = 1.0f;
  float offset_ = -1.0f;
};
