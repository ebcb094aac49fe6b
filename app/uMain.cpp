#include "app/uMain.h"
#include "app/AppSettings.h"
#include "app/PayItemSets.h"
#include "app/uDM.h"
#include "platform/rtl/Files.h"

TfrmMainGZT* frmMainGZT = nullptr;

TfrmMainGZT::TfrmMainGZT(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmMainGZT"));
  SetWindowState(wsMaximized);
  SetBounds(0, 0, 1024, 700);
  FormCreate();
}

void TfrmMainGZT::FormCreate() {
  TPubSettings& S = Settings();
  S.GAppPath = ProgramFolder();
  S.GTopPos = 2;
  ReadyPara();
  SetCaption(S.GBrand + QStringLiteral("工资条制作打印软件"));
  Application->SetTitle(Caption());
  S.GLogPass.clear();
  StructUpdate();
  LoadRegPara();
}
