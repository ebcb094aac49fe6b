#pragma once
// The sorted distinct texts of one field of a data set, rebuilt on demand after the data
// set's content or structure changed. Filter drop-downs list them.
#include "grid/DataLinkX.h"
#include <memory>

class IMemTableDataFieldValueListX {
public:
  virtual ~IMemTableDataFieldValueListX() = default;
  // Owned by the list object.
  virtual TStrings* GetValueList() = 0;
  // Only values of records that pass FilterText (the data sets' filter language) are listed;
  // empty: every record's.
  virtual void SetFilter(const String& FilterText) = 0;
};

class TDatasetFieldValueListX : public IMemTableDataFieldValueListX {
public:
  TDatasetFieldValueListX();
  void SetFieldName(const String& Name);
  void SetDataSource(TDataSource* Source);
  TStrings* GetValueList() override;
  void SetFilter(const String& FilterText) override;
  bool OutOfDate() const { return FOutOfDate; }
protected:
  virtual void HandleDataEvent(TDataEvent Event, intptr_t Info);
private:
  void RefreshValues();
  std::unique_ptr<TStringList> FValues;
  String FFieldName;
  String FFilterText;
  bool FOutOfDate = false;
  TDataLinkX FDataLink;
};
