#pragma once
// Stand-ins through which stored settings reach a grid's columns: a column's width (into
// the design width while the grid fits its columns) and the column order by field name.
#include "dbgrid/DBGridX.h"
#include "grid/StorageInterceptorX.h"

class TColumnXPropertyInterceptor : public TStoragePropertyInterceptor {
public:
  explicit TColumnXPropertyInterceptor(TObject* Target) : TStoragePropertyInterceptor(Target) {}
  String ClassName() const override { return QStringLiteral("TColumnXPropertyInterceptor"); }
  void SetWidth(Integer Value);
};

class TColumnsXPropertyInterceptor : public TStoragePropertyInterceptor {
public:
  explicit TColumnsXPropertyInterceptor(TObject* Target) : TStoragePropertyInterceptor(Target) {}
  String ClassName() const override { return QStringLiteral("TColumnsXPropertyInterceptor"); }
  // The field names in column order, each in double quotes, separated by commas.
  String ColumnsIndex() const;
  // Moves the first column of each named field to the name's position.
  void SetColumnsIndex(const String& Value);
  void ValuesRead() override {}
private:
  String FColumnsIndex;
};

void RegisterGridInterceptors();
