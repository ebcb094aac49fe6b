#pragma once
// Stand-ins that receive stored property values for a component and apply them
// afterwards (a form's placement, corrected for the screen's pixels per inch), and the
// process-wide registry that says which stand-in serves which component class.
#include "platform/ui/Forms.h"
#include <functional>
#include <memory>
#include <typeindex>

class TStoragePropertyInterceptor : public TPersistent {
public:
  explicit TStoragePropertyInterceptor(TObject* Target) : FTarget(Target) {}
  TObject* Target() const { return FTarget; }
  virtual bool WantsValues() { return true; }
  // Called once the stored values are in.
  virtual void ValuesRead() {}
private:
  TObject* FTarget;
};

struct TInterceptorRegistrationX {
  std::type_index Target;
  std::type_index Interceptor;
  std::function<bool(TObject*)> Serves;  // the object is of the target class or derives from it
  std::function<std::unique_ptr<TStoragePropertyInterceptor>(TObject*)> Make;
};

// Replaces an earlier registration for the same target class.
void RegisterInterceptor(TInterceptorRegistrationX Registration);
// Removes exactly this pair; an unknown pair changes nothing.
void UnregisterInterceptorClass(std::type_index TargetClass, std::type_index InterceptorClass);

template <class TargetClass, class InterceptorClass>
void RegisterInterceptorClass() {
  RegisterInterceptor({typeid(TargetClass), typeid(InterceptorClass),
                       [](TObject* Object) { return dynamic_cast<TargetClass*>(Object) != nullptr; },
                       [](TObject* Object) { return std::make_unique<InterceptorClass>(Object); }});
}
template <class TargetClass, class InterceptorClass>
void UnregisterInterceptorClass() {
  UnregisterInterceptorClass(typeid(TargetClass), typeid(InterceptorClass));
}

// The interceptor of the most recent registration that serves Target, or nullptr.
std::unique_ptr<TStoragePropertyInterceptor> CreateInterceptorFor(TObject* Target);

// The restore rectangle of a minimized or maximized form, else its bounds.
void FormNormalBounds(TCustomForm* Form, TRect& Rect);

class TFormStoragePropertyInterceptor : public TStoragePropertyInterceptor {
public:
  explicit TFormStoragePropertyInterceptor(TObject* Target);
  String ClassName() const override { return QStringLiteral("TFormStoragePropertyInterceptor"); }
  Integer Left() const { return FLeft; }
  void SetLeft(Integer Value) { FLeft = Value; FPositionRead = true; }
  Integer Top() const { return FTop; }
  void SetTop(Integer Value) { FTop = Value; FPositionRead = true; }
  Integer Width() const { return FWidth; }
  void SetWidth(Integer Value) { FWidth = Value; }
  Integer Height() const { return FHeight; }
  void SetHeight(Integer Value) { FHeight = Value; }
  void SetPixelsPerInch(Integer Value) { FPixelsPerInch = Value; }
  void SetWindowState(TWindowState Value) { FWindowState = Value; }
  void SetActiveControl(TWinControl* Value) { FActiveControl = Value; }
  void ValuesRead() override;
private:
  TCustomForm* Form() const { return dynamic_cast<TCustomForm*>(Target()); }
  Integer FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  Integer FPixelsPerInch = 96;
  TWindowState FWindowState = wsNormal;
  TWinControl* FActiveControl = nullptr;
  bool FPositionRead = false;
};

// What the grid foundation sets up before any window: the flat button width, the system
// check-box size and the form interceptor.
void InitializeGridFoundation();
