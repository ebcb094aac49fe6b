#pragma once
// A data set over rows the test gives, with every post and delete accepted.
#include "platform/db/DB.h"
#include <string>
#include <vector>

class TTestDataSetX : public TDataSet {
public:
  struct TColumn {
    String Name;
    TFieldType Type;
  };
  TTestDataSetX(std::vector<TColumn> Columns, std::vector<std::vector<Variant>> Rows)
      : FColumns(std::move(Columns)), FRows(std::move(Rows)) {}
  ~TTestDataSetX() override { Close(); }
  // Raises from the next delete (to check that failures leave things consistent).
  bool FailDeletes = false;

protected:
  void InternalOpen() override {
    for (const TColumn& C : FColumns) FieldDefs()->Add(C.Name, C.Type, C.Type == ftString ? 40 : 0);
    InitStore();
    RecordStore& S = Store();
    S.Reserve(FRows.size());
    for (const auto& Row : FRows) {
      const TRowId Id = AddStoreRow();
      for (size_t C = 0; C < Row.size(); ++C) {
        const Variant& V = Row[C];
        if (V.IsNull() || V.IsEmpty()) continue;
        switch (S.Kind(int(C))) {
          case TStoreKind::Integer: S.SetInt(Id, int(C), V.AsInt64()); break;
          case TStoreKind::Float: S.SetFloat(Id, int(C), V.AsDouble()); break;
          case TStoreKind::Bytes: S.SetBytes(Id, int(C), V.AsString().toStdString()); break;
        }
      }
    }
  }
  void InternalPost(TRowId, bool) override {}
  void InternalDelete(TRowId) override {
    if (FailDeletes) throw EDatabaseError(QStringLiteral("delete refused"));
  }

private:
  std::vector<TColumn> FColumns;
  std::vector<std::vector<Variant>> FRows;
};

// A data set of pictures held as raw bytes: fields "id" (1, 2, ...) and "pic" (ftGraphic),
// one row per picture; an empty entry is Null.
class TPictureDataSetX : public TTestDataSetX {
public:
  explicit TPictureDataSetX(std::vector<QByteArray> Pictures)
      : TTestDataSetX({{"id", ftInteger}, {"pic", ftGraphic}}, {}), FPictures(std::move(Pictures)) {}

protected:
  void InternalOpen() override {
    FieldDefs()->Add("id", ftInteger, 0);
    FieldDefs()->Add("pic", ftGraphic, 0);
    InitStore();
    for (size_t i = 0; i < FPictures.size(); ++i) {
      const TRowId row = AddStoreRow();
      Store().SetInt(row, 0, Int64(i + 1));
      if (!FPictures[i].isEmpty())
        Store().SetBytes(row, 1, std::string_view(FPictures[i].constData(), size_t(FPictures[i].size())));
    }
  }

private:
  std::vector<QByteArray> FPictures;
};
