#include "GridOutputFixture.h"
#include "platform/rtl/Encodings.h"

using namespace gridouttest;

namespace {

String Text(TGridOutputForm& Form, bool WholeGrid) {
  return GbkToString(Form.Export<TDBGridXExportAsText>(WholeGrid));
}

}  // namespace

TEST(ExportFramework, TheWholeGridIgnoresTheSelectionAndKeepsIt) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Query.Next();
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  EXPECT_EQ(Text(f, true), QStringLiteral("姓名\t数量\r\n张三\t4\r\n李四\t\r\n王五\t6"));
  EXPECT_EQ(f.Grid->Selection()->SelectionKind(), gstRecordBookmarks);
  EXPECT_EQ(f.Grid->RecordBookmarks()->GetCount(), 1);
  EXPECT_EQ(f.Query.RecNo(), 2);
}

TEST(ExportFramework, SelectedRecordsGoInTheListsOrderAndRectanglesSkipHiddenColumns) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"base", "工资"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->SetOptions(f.Grid->Options() - TDBGridOptions{dgTitles});
  f.Query.Last();
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  f.Query.First();
  f.Grid->RecordBookmarks()->AppendBookmark(f.Query.Bookmark());
  EXPECT_EQ(Text(f, false), QStringLiteral("王五\t3000\t6\r\n张三\t1000.5\t4"));

  f.Column(1)->SetVisible(false);
  f.Query.First();
  f.Grid->Selection()->Rect()->SelectCell(0, f.Query.Bookmark(), false);
  f.Query.Next();
  f.Grid->Selection()->Rect()->SelectCell(2, f.Query.Bookmark(), true);
  EXPECT_EQ(Text(f, false), QStringLiteral("张三\t4\r\n李四\t"));
}

TEST(ExportFramework, FooterTotalsCoverExactlyTheExportedRecords) {
  TGridOutputForm f;
  f.Connection.ExecuteSql("UPDATE pay SET note = NULL");
  f.Query.Close();
  f.Query.Open();
  f.SetColumns({{"name", "姓名"}, {"base", "工资"}, {"qty", "数量"}, {"note", "备注"}, {"id", "号"}});
  f.Bind();
  f.Grid->SetFooterRowCount(2);
  struct Footer { Integer column; Integer row; TFooterValueType type; const char* field; };
  for (const Footer& footer : std::initializer_list<Footer>{{0, 0, fvtCount, ""},
                                                          {1, 0, fvtSum, ""},
                                                          {2, 0, fvtSum, ""},
                                                          {3, 0, fvtSum, ""},
                                                          {4, 0, fvtCount, "missing"},
                                                          {4, 1, fvtSum, "missing"},
                                                          {1, 1, fvtStaticText, ""}}) {
    while (f.Column(footer.column)->Footers()->Count() <= footer.row) f.Column(footer.column)->Footers()->Add();
    TColumnFooterX* item = f.Column(footer.column)->Footers()->Items(footer.row);
    item->SetValueType(footer.type);
    item->SetFieldName(QString::fromUtf8(footer.field));
    if (footer.type == fvtStaticText) item->SetValue(QStringLiteral("静态"));
  }
  f.Query.Next();
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  f.Query.Next();
  f.Grid->RecordBookmarks()->MarkCurrentRow(true);
  // Records 2 and 3: a count counts the null too, a sum over a text field and over a missing
  // field is an empty text, a missing field counts 0.
  EXPECT_EQ(Text(f, false).section(QStringLiteral("\r\n"), 3),
            QStringLiteral("2\t3000\t6\t\t0\r\n\t静态\t\t\t"));
  EXPECT_EQ(Text(f, true).section(QStringLiteral("\r\n"), 4, 4), QStringLiteral("3\t4000.5\t10\t\t0"));
}

TEST(ExportFramework, CellAndFooterEventsShapeWhatIsWritten) {
  TGridOutputForm f;
  f.SetColumns({{"name", "姓名"}, {"qty", "数量"}});
  f.Bind();
  f.Grid->SetFooterRowCount(1);
  f.Column(1)->Footer()->SetValueType(fvtSum);
  f.Column(0)->OnGetCellParams = [](TObject*, bool EditMode, TColCellParamsX* Params) {
    EXPECT_FALSE(EditMode);
    Params->Text = QStringLiteral("<") + Params->Text + QStringLiteral(">");
  };
  Integer footerCalls = 0;
  f.Grid->OnGetFooterParams = [&](TObject*, Integer DataCol, Integer Row, TColumnX*, TFont*, TColor&, TAlignment&,
                                  TGridDrawState, String& Text) {
    ++footerCalls;
    if (DataCol == 1 && Row == 0) Text = QStringLiteral("合计") + Text;
  };
  EXPECT_EQ(Text(f, true), QStringLiteral("姓名\t数量\r\n<张三>\t4\r\n<李四>\t\r\n<王五>\t6\r\n\t合计10"));
  EXPECT_EQ(footerCalls, 2);
}
