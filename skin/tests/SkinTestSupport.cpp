#include "skin/tests/SkinTestSupport.h"
#include "platform/ui/Panels.h"
#include "platform/ui/StdCtrls.h"
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <gtest/gtest.h>

namespace skintest {

QString RptFolder() { return QDir(QCoreApplication::applicationDirPath()).filePath("RPT"); }

QByteArray ShippedSkin(int k) {
  QFile f(QDir(RptFolder()).filePath(QStringLiteral("Skin%1.skn").arg(k)));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << qPrintable(f.fileName());
  return f.readAll();
}

TSkinSession::TSkinSession(const QByteArray& Package) : Data(std::make_unique<TSkinData>(nullptr)) {
  SetSystemTable(ClassicSystemTable());
  TSkinManage::Shutdown();
  FPreviousHandler = Application->OnException;
  Application->OnException = [this](TObject*, const Exception& E) { Exceptions << E.Message(); };
  if (QApplication::windowIcon().isNull()) {
    QPixmap icon(16, 16);
    icon.fill(QColor(0xE0, 0x9A, 0x2C));
    QApplication::setWindowIcon(QIcon(icon));
  }
  Data->SetSkinStream(Package);
  Data->SetActive(true);
  Data->Loaded();
}

TSkinSession::~TSkinSession() {
  Data.reset();
  TSkinManage::Shutdown();
  Application->OnException = FPreviousHandler;
  QApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TTestForm::TTestForm(TComponent* AOwner) : TForm(AOwner), MainMenu(new TMainMenu(this)) {
  SetCaption(QStringLiteral("墨鲤工资条打印"));
  SetBorderStyle(bsSizeable);
  SetBounds(40, 40, 420, 300);
  for (const char* caption : {"文件(&F)", "编辑(&E)", "工资(&G)", "帮助(&H)"}) {
    auto* item = new TMenuItem(this);
    item->SetCaption(QString::fromUtf8(caption));
    auto* sub = new TMenuItem(this);
    sub->SetCaption(QStringLiteral("打开"));
    item->Add(sub);
    MainMenu->Items()->Add(item);
  }
  SetMenu(MainMenu);
  auto* panel = new TPanel(this);
  panel->SetParent(this);
  panel->SetBounds(10, 10, 180, 60);
  panel->SetCaption(QStringLiteral("面板"));
  auto* group = new TGroupBox(this);
  group->SetParent(this);
  group->SetBounds(200, 10, 190, 120);
  group->SetCaption(QStringLiteral("工资项目"));
  auto* label = new TLabel(this);
  label->SetParent(group);
  label->SetBounds(12, 30, 120, 20);
  label->SetCaption(QStringLiteral("基本工资"));
  auto* button = new TButton(this);
  button->SetParent(this);
  button->SetBounds(10, 90, 90, 26);
  button->SetCaption(QStringLiteral("确定"));
}

void ProcessEventsUntil(const std::function<bool()>& Done) {
  for (int round = 0; round < 100 && !Done(); ++round) QApplication::processEvents(QEventLoop::AllEvents);
}

TSkinForm* ShowSkinned(TCustomForm* Form) {
  Form->Show();
  QApplication::setActiveWindow(Form->Handle());
  TSkinManage* manager = TSkinManage::Instance();
  ProcessEventsUntil([&] {
    TSkinForm* skinned = manager ? manager->SkinnedFormOf(Form) : nullptr;
    return !skinned || skinned->AttachFinished();
  });
  return manager ? manager->SkinnedFormOf(Form) : nullptr;
}

QImage Grab(QWidget* Widget) { return Widget->grab().toImage(); }

void SaveArtifact(const QImage& Image, const QString& Name) {
  const QString folder = qEnvironmentVariable("MOLI_ARTIFACTS");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  EXPECT_TRUE(Image.save(QDir(folder).filePath(Name))) << qPrintable(Name);
}

LRESULT FrameMouse(TCustomForm* Form, Cardinal Msg, TPoint P, LRESULT Hit) {
  const TRect inWindow = Form->ClientRectInWindow();
  const TPoint screen = Form->ClientToScreen({P.X - inWindow.Left, P.Y - inWindow.Top});
  return Form->Perform(Msg, WPARAM(Hit), PointToLParam(screen));
}

LRESULT HitTest(TCustomForm* Form, TPoint P) { return FrameMouse(Form, WM_NCHITTEST, P, 0); }

}  // namespace skintest
