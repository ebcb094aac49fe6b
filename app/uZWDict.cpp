#include "app/uZWDict.h"
#include "app/AppMessages.h"
#include "app/FormControls.h"
#include "app/uDM.h"
#include "platform/rtl/Files.h"
#include "platform/ui/StdCtrls.h"

String JobTitlesFile() { return ResolvePath(Settings().GAppPath, QStringLiteral("ZW.Txt")); }

TfrmZWDict::TfrmZWDict(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmZWDict"));
  SetCaption(QStringLiteral("常用职务字典"));
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(300);
  SetClientHeight(360);

  EditZW = PlaceControl<TMemo>(this, QStringLiteral("EditZW"), 8, 8, 284, 300);
  cmdAuto = PlaceControl<TButton>(this, QStringLiteral("cmdAuto"), 8, 320, 84, 28);
  cmdAuto->SetCaption(QStringLiteral("自动获取"));
  cmdAuto->OnClick = [this](TObject*) { cmdAutoClick(); };
  cmdSH = PlaceControl<TButton>(this, QStringLiteral("cmdSH"), 112, 320, 84, 28);
  cmdSH->SetCaption(QStringLiteral("保存(&S)"));
  cmdSH->OnClick = [this](TObject*) { cmdSHClick(); };
  cmdCancel = PlaceControl<TButton>(this, QStringLiteral("cmdCancel"), 208, 320, 84, 28);
  cmdCancel->SetCaption(QStringLiteral("取消(&X)"));
  cmdCancel->SetCancel(true);
  cmdCancel->SetModalResult(mrCancel);

  const String File = JobTitlesFile();
  if (FileExists(File)) {
    try {
      EditZW->Lines()->LoadFromFile(File);
    } catch (const Exception&) {
      // An unreadable list opens empty; saving writes a new one.
    }
  }
}

void TfrmZWDict::cmdSHClick() {
  try {
    EditZW->Lines()->SaveToFile(JobTitlesFile());
  } catch (const Exception&) {
    ShowAppMessage(QStringLiteral("存储数据发生错误，确认当前系统操作员有对本软件安装路径下的写入权限！"));
    return;
  }
  SetModalResult(mrOk);
}

void TfrmZWDict::cmdAutoClick() {
  TStringList Titles;
  DM->GetDataBySQLToItems(QStringLiteral("Select Distinct ZWName from TGZ order by ZWName"), &Titles, true);
  EditZW->Lines()->Assign(&Titles);
}

void ShowZWDict() {
  TfrmZWDict Form(nullptr);
  Form.ShowModal();
}
