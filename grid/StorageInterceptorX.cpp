#include "grid/StorageInterceptorX.h"
#include "grid/ButtonFacesX.h"
#include "platform/rtl/SysUtils.h"
#include <QWidget>
#include <vector>

namespace {
std::vector<TInterceptorRegistrationX>& Registry() {
  static std::vector<TInterceptorRegistrationX> List;
  return List;
}

Integer Scaled(Integer Value, Integer To, Integer From) {
  return From > 0 ? Integer(Round(Extended(Value) * To / From)) : Value;
}
}  // namespace

void RegisterInterceptor(TInterceptorRegistrationX Registration) {
  auto& List = Registry();
  for (size_t I = List.size(); I-- > 0;)
    if (List[I].Target == Registration.Target) List.erase(List.begin() + std::ptrdiff_t(I));
  List.push_back(std::move(Registration));
}

void UnregisterInterceptorClass(std::type_index TargetClass, std::type_index InterceptorClass) {
  auto& List = Registry();
  for (size_t I = List.size(); I-- > 0;)
    if (List[I].Target == TargetClass && List[I].Interceptor == InterceptorClass) List.erase(List.begin() + std::ptrdiff_t(I));
}

std::unique_ptr<TStoragePropertyInterceptor> CreateInterceptorFor(TObject* Target) {
  const auto& List = Registry();
  for (auto R = List.rbegin(); R != List.rend(); ++R)
    if (R->Serves(Target)) return R->Make(Target);
  return nullptr;
}

void FormNormalBounds(TCustomForm* Form, TRect& Rect) {
  if (Form->WindowState() != wsNormal && Form->HandleAllocated()) {
    const QRect Normal = Form->Handle()->normalGeometry();
    if (Normal.isValid()) {
      Rect = TRect(Normal.left(), Normal.top(), Normal.right() + 1, Normal.bottom() + 1);
      return;
    }
  }
  Rect = Bounds(Form->Left(), Form->Top(), Form->Width(), Form->Height());
}

TFormStoragePropertyInterceptor::TFormStoragePropertyInterceptor(TObject* Target)
    : TStoragePropertyInterceptor(Target) {
  TCustomForm* F = Form();
  if (!F) return;
  TRect R;
  FormNormalBounds(F, R);
  FLeft = R.Left;
  FTop = R.Top;
  FWidth = R.Width();
  FHeight = R.Height();
  FPixelsPerInch = Screen->PixelsPerInch();
  FWindowState = F->WindowState();
  FActiveControl = F->ActiveControl();
}

void TFormStoragePropertyInterceptor::ValuesRead() {
  const Integer ScreenPpi = Screen->PixelsPerInch();
  FHeight = Scaled(FHeight, ScreenPpi, FPixelsPerInch);
  FLeft = Scaled(FLeft, ScreenPpi, FPixelsPerInch);
  FTop = Scaled(FTop, ScreenPpi, FPixelsPerInch);
  FWidth = Scaled(FWidth, ScreenPpi, FPixelsPerInch);
  TCustomForm* F = Form();
  if (!F) return;
  F->SetWindowState(FWindowState);
  F->SetActiveControl(FActiveControl);
  if (F->WindowState() != wsNormal && F->HandleAllocated()) {
    // The stored bounds become the rectangle the form returns to when restored.
    QWidget* W = F->Handle();
    const Qt::WindowStates States = W->windowState();
    W->setWindowState(Qt::WindowNoState);
    W->setGeometry(FLeft, FTop, FWidth, FHeight);
    W->setWindowState(States);
  } else {
    F->SetBounds(FLeft, FTop, FWidth, FHeight);
  }
  const bool Centred = F->Position() == poScreenCenter || F->Position() == poDesktopCenter;
  if (Centred && !F->ComponentState().Contains(csDesigning) && FPositionRead) F->SetPosition(poDesigned);
}

void InitializeGridFoundation() {
  FlatButtonWidth = ComputeFlatButtonWidth();
  MeasureSystemCheckBox();
  RegisterInterceptorClass<TCustomForm, TFormStoragePropertyInterceptor>();
}
