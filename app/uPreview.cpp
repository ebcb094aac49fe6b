#include "app/uPreview.h"
#include "app/AppMessages.h"
#include "app/PPreview.h"
#include "dbgrid/DBGridX.h"
#include "platform/rtl/SysUtils.h"

namespace {

Integer AlignCode(TAlignment Alignment) {
  switch (Alignment) {
    case taCenter: return 1;
    case taRightJustify: return 2;
    default: return 0;
  }
}

String CellText(TColumnX* Column) {
  TField* Field = Column->Field();
  if (!Field) return String();
  String Text = Field->DisplayText();
  const String& Format = Column->DisplayFormat();
  // An empty value prints empty, as the grid shows it, not as the format's zero date or number.
  if (!Format.isEmpty() && !Field->IsNull()) {
    const TFieldType Type = Field->DataType();
    if (Type == ftDate || Type == ftTime || Type == ftDateTime) Text = FormatDateTime(Format, Field->AsDateTime());
    else if (dynamic_cast<TFloatField*>(Field)) Text = FormatFloat(Format, Field->AsFloat());
  }
  const Integer Key = Column->KeyList()->Count() > 0 ? Column->KeyList()->IndexOf(Field->AsString()) : -1;
  if (Key >= 0 && Key < Column->PickList()->Count()) Text = Column->PickList()->Strings(Key);
  return Text;
}

}  // namespace

Integer GetMaxTitleRow(const String& Caption) { return Integer(Caption.count(u'|')) + 1; }

TfrmPreview::TfrmPreview(TComponent* AOwner) : TForm(AOwner) {
  SetName(QStringLiteral("frmPreview"));
  SetCaption(QStringLiteral("打印预览窗口"));
  Font()->SetName(QStringLiteral("宋体"));
  Font()->SetSize(9);
  SetPosition(poScreenCenter);
  SetClientWidth(900);
  SetClientHeight(640);
  PPreview = new TPPreview(this);
  PPreview->SetName(QStringLiteral("PPreview"));
  PPreview->SetParent(this);
  PPreview->SetAlign(alClient);
  PPreview->OnReturn = [this](TObject*) { Close(); };
  OnShow = [this](TObject*) { PPreview->SetpActive(true); };
}

void TfrmPreview::ReadyData1(const String& Title, TDBGridX* Grid, TDataSet* DataSet) {
  TPPreview* P = PPreview;
  TDBGridColumnsX* Columns = Grid->Columns();
  P->SetpPrintType(1);
  P->SetpRowHeight(Grid->RowHeight() == 0 ? 16 : Grid->RowHeight());
  P->SetpCaption(Title);
  P->SetpColCount(Columns->Count());
  P->SetpHeaderRowCount(1);
  P->SetpDataRowCount(DataSet->RecordCount());
  P->SetpCountRowCount(0);
  Integer Levels = 1;
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnX* Column = Columns->Items(i);
    P->SetColWidth(i, Column->Width());
    P->SetTitleText(i, 0, Column->Title()->Caption());
    Levels = std::max(Levels, GetMaxTitleRow(Column->Title()->Caption()));
    P->SetColAlign(i, AlignCode(Column->Alignment()));
    if (!Column->Visible()) P->SetColWidth(i, 0);
  }
  P->SetpHeaderRowCount(Levels);
  for (Integer i = 0; i < Columns->Count(); ++i) {
    String Rest = Columns->Items(i)->Title()->Caption();
    for (Integer Row = 0; Row < Levels; ++Row) {
      const qsizetype Bar = Rest.indexOf(u'|');
      P->SetTitleText(i, Row, Bar >= 0 ? Rest.left(Bar) : Rest);
      if (Bar >= 0) Rest = Rest.mid(Bar + 1);
    }
  }
  P->SetpShowCount(false);

  Integer Row = 0;
  {
    const TBookmarkStr Position = DataSet->Bookmark();
    TDisableControlsLock Lock(DataSet);
    for (DataSet->First(); !DataSet->Eof(); DataSet->Next(), ++Row)
      for (Integer i = 0; i < Columns->Count(); ++i) P->SetCellText(i, Row, CellText(Columns->Items(i)));
    if (DataSet->BookmarkValid(Position)) DataSet->SetBookmark(Position);
  }
  if (Grid->FooterRowCount() <= 0) return;
  for (Integer i = 0; i < Columns->Count(); ++i) {
    TColumnFooterX* Footer = Columns->Items(i)->Footer();
    if (!Footer->Value().isEmpty()) {
      P->SetCellText(i, Row, Footer->Value());
    } else if (!Footer->FieldName().isEmpty() || !Footer->DisplayFormat().isEmpty()) {
      const Variant Value = Footer->SumValue();
      if (!Value.IsNull()) P->SetCellText(i, Row, FormatFloat(Footer->DisplayFormat(), Value.AsDouble()));
    }
  }
}

bool PreviewGrid(const String& Title, TDBGridX* Grid, TDataSet* DataSet) {
  if (!DataSet->Active()) {
    ShowAppMessage(QStringLiteral("无查询结果！"));
    return true;
  }
  TfrmPreview Form(nullptr);
  Form.ReadyData1(Title, Grid, DataSet);
  Form.ShowModal();
  return true;
}
