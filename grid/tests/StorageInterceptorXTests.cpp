#include "grid/ButtonFacesX.h"
#include "grid/StorageInterceptorX.h"
#include <gtest/gtest.h>

namespace {
class TFirstInterceptor : public TStoragePropertyInterceptor {
public:
  using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
};
class TSecondInterceptor : public TStoragePropertyInterceptor {
public:
  using TStoragePropertyInterceptor::TStoragePropertyInterceptor;
};
class TTarget : public TObject {};
}  // namespace

TEST(StorageInterceptors, ALaterRegistrationReplacesTheEarlierOne) {
  TTarget Target;
  RegisterInterceptorClass<TTarget, TFirstInterceptor>();
  RegisterInterceptorClass<TTarget, TSecondInterceptor>();
  EXPECT_NE(dynamic_cast<TSecondInterceptor*>(CreateInterceptorFor(&Target).get()), nullptr);
  UnregisterInterceptorClass<TTarget, TFirstInterceptor>();
  EXPECT_NE(CreateInterceptorFor(&Target), nullptr);
  UnregisterInterceptorClass<TTarget, TSecondInterceptor>();
  EXPECT_EQ(CreateInterceptorFor(&Target), nullptr);
}

TEST(StorageInterceptors, FormPlacementIsScaledToTheScreen) {
  TForm Form(nullptr);
  TFormStoragePropertyInterceptor Stored(&Form);
  const Integer Ppi = Screen->PixelsPerInch();
  ASSERT_EQ(Ppi % 2, 0);
  Stored.SetPixelsPerInch(Ppi / 2);  // stored at half the screen's density: everything doubles
  Stored.SetLeft(40);
  Stored.SetTop(80);
  Stored.SetWidth(400);
  Stored.SetHeight(300);
  Form.SetPosition(poScreenCenter);
  Stored.ValuesRead();
  EXPECT_EQ(Form.BoundsRect(), Bounds(80, 160, 800, 600));
  EXPECT_EQ(Form.Position(), poDesigned);
}

TEST(StorageInterceptors, AMaximizedFormGetsTheStoredBoundsAsItsRestoreRectangle) {
  TForm Form(nullptr);
  Form.SetBounds(5, 5, 200, 100);
  Form.HandleNeeded();
  TFormStoragePropertyInterceptor Stored(&Form);
  Stored.SetPixelsPerInch(Screen->PixelsPerInch());
  Stored.SetLeft(30);
  Stored.SetTop(40);
  Stored.SetWidth(320);
  Stored.SetHeight(240);
  Stored.SetWindowState(wsMaximized);
  Stored.ValuesRead();
  EXPECT_EQ(Form.WindowState(), wsMaximized);
  TRect Restore;
  FormNormalBounds(&Form, Restore);
  EXPECT_EQ(Restore, Bounds(30, 40, 320, 240));
}

TEST(GridFoundation, StartUpMeasuresAndRegistersTheFormInterceptor) {
  InitializeGridFoundation();
  EXPECT_EQ(FlatButtonWidth, ComputeFlatButtonWidth());
  EXPECT_GT(CheckBoxGlyphWidth, 0);
  TForm Form(nullptr);
  Form.SetBounds(10, 20, 300, 200);
  auto Interceptor = CreateInterceptorFor(&Form);
  auto* ForForm = dynamic_cast<TFormStoragePropertyInterceptor*>(Interceptor.get());
  ASSERT_NE(ForForm, nullptr);
  EXPECT_EQ(ForForm->Width(), 300);
}
