#pragma once
// Footer aggregates (sums, averages, counts) over a data set, computed once by a walk and
// then kept current from the data set's edit, insert, post, delete, cancel, scroll, open
// and close events, which the producer takes over while chaining the handlers it found.
// Values are fixed point: a 64-bit integer holding the value times 10 000.
#include "grid/BMListX.h"
#include <memory>

enum TGroupOperation { goSum, goAvg, goCount };

class TDBSumListProducer;

class TDBSum : public TCollectionItem {
public:
  explicit TDBSum(TCollection* Collection) : TCollectionItem(Collection) {}
  void Assign(TPersistent* Source) override;
  String ClassName() const override { return QStringLiteral("TDBSum"); }

  const String& FieldName() const { return FFieldName; }
  void SetFieldName(const String& Value);
  TGroupOperation GroupOperation() const { return FGroupOperation; }
  void SetGroupOperation(TGroupOperation Value);
  // The result the footer shows, scaled by 10 000.
  Int64 SumValue() const { return AggregateValue; }
  Integer NonNullValueCount() const { return NonNullCount; }

private:
  friend class TDBSumListProducer;
  String FFieldName;
  TGroupOperation FGroupOperation = goSum;
  Int64 PreEditValue = 0;
  Integer NonNullCount = 0;
  Int64 AvgTotal = 0;
  Variant PreEditVariant;
  Int64 AggregateValue = 0;
};

class TDBSumCollection : public TCollection {
public:
  explicit TDBSumCollection(TDBSumListProducer* Producer);
  TDBSum* Items(Integer Index) const { return static_cast<TDBSum*>(TCollection::Items(Index)); }
  TDBSum* Add() { return static_cast<TDBSum*>(TCollection::Add()); }
  // The first sum with Operation whose field name matches without case, or nullptr.
  TDBSum* FindSum(TGroupOperation Operation, const String& FieldName) const;
  TPersistent* GetOwner() const override;
protected:
  void Update(TCollectionItem* Item) override;
private:
  TDBSumListProducer* FProducer;
};

// The producer's records in data-set order, for numbering records of data sets that do
// not number them themselves.
class TSLBookmarkListX : public TBMListX {
public:
  explicit TSLBookmarkListX(TDBSumListProducer* Producer) : FProducer(Producer) {}
  TDataSet* GetDataSet() const override;
private:
  TDBSumListProducer* FProducer;
};

class TDBSumListProducer : public TPersistent {
public:
  explicit TDBSumListProducer(TComponent* AOwner);
  ~TDBSumListProducer() override;
  TDBSumListProducer(const TDBSumListProducer&) = delete;
  TDBSumListProducer& operator=(const TDBSumListProducer&) = delete;
  String ClassName() const override { return QStringLiteral("TDBSumListProducer"); }
  TPersistent* GetOwner() const override { return FOwner; }

  void Assign(TPersistent* Source) override;
  virtual Integer GetVirtualRecNo();
  virtual Integer FindVirtualRecNo(const TBookmarkStr& Bookmark);
  virtual void SetVirtualRecNo(Integer RecNo);
  virtual void HandleAfterCancel(TDataSet* DataSet);
  virtual void HandleAfterClose(TDataSet* DataSet);
  virtual void HandleAfterEdit(TDataSet* DataSet);
  virtual void HandleAfterInsert(TDataSet* DataSet);
  virtual void HandleAfterOpen(TDataSet* DataSet);
  virtual void HandleAfterPost(TDataSet* DataSet);
  virtual void HandleAfterScroll(TDataSet* DataSet);
  virtual void HandleBeforeDelete(TDataSet* DataSet);
  virtual void RestoreDataSetEvents();
  virtual bool IsRecNoAvailable();
  virtual Integer GetVirtualRecordCount();
  virtual void ResetSumValues();
  virtual void RecalcAll();
  virtual void HookDataSetEvents();

  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* Value);
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  bool ExternalRecalc() const { return FExternalRecalc; }
  void SetExternalRecalc(bool Value);
  bool VirtualRecords() const { return FVirtualRecords; }
  void SetVirtualRecords(bool Value);
  bool Recalculating() const { return FRecalculating; }
  bool EventsHooked() const { return FEventsHooked; }
  bool DesignTimeWork() const { return FDesignTimeWork; }
  void SetDesignTimeWork(bool Value) { FDesignTimeWork = Value; }
  TDBSumCollection* SumCollection() const { return FSumCollection.get(); }
  TSLBookmarkListX* VirtualRecList() const { return FVirtualRecList.get(); }

  // Called by the owner once its loading is over.
  void OwnerLoaded();
  void ActivateSumList(bool Recalc);
  void DeactivateSumList(bool ClearSums);
  void RequestRecalc();
  // Holds back the recalculations that changes of the sums ask for until the outermost
  // EndSumsUpdate, which recalculates once if any was asked for: setting up the sums of
  // many footers then walks the records once, not once per sum.
  void BeginSumsUpdate() { ++FSumsUpdateCount; }
  void EndSumsUpdate();
  void NotifySumListChanged();

  TNotifyEvent OnAfterRecalcAll;
  TNotifyEvent OnRecalcAll;
  TNotifyEvent SumListChanged;

protected:
  bool Blocked() const;
  bool VirtualMode() const;

private:
  struct TSavedHandlers {
    TDataSetNotifyEvent AfterCancel, AfterEdit, AfterInsert, AfterOpen, AfterPost, AfterScroll, BeforeDelete,
        AfterClose;
  };
  void CallSaved(const TDataSetNotifyEvent& Handler, TDataSet* DataSet) { if (Handler) Handler(DataSet); }
  // The fields the sums name (a missing one raises), looked up once per recalculation so
  // that an edit costs no name searches; dropped whenever the fields may have gone.
  const std::vector<TField*>& SumFields();
  void ForgetSumFields() { FSumFieldsValid = false; }
  // Calls Step for every sum with its field (nullptr for a count without one).
  void ForEachSum(const std::function<void(TDBSum* Sum, const TField* Field)>& Step);
  void InsertPendingBookmark();
  void FinishRecalc();

  bool FVirtualRecords = false;
  bool FRecalculating = false;
  bool FActive = true;
  bool FPendingInsert = false;
  TDataSet* FDataSet = nullptr;
  bool FDesignTimeWork = false;
  bool FEventsHooked = false;
  bool FExternalRecalc = false;
  String FLastFilter;
  bool FLastFiltered = false;
  Integer FLastFoundIndex = -1;
  TComponent* FOwner;
  std::unique_ptr<TDBSumCollection> FSumCollection;
  std::unique_ptr<TSLBookmarkListX> FVirtualRecList;
  TSavedHandlers FSaved;
  std::vector<TField*> FSumFields;
  bool FSumFieldsValid = false;
  Integer FSumsUpdateCount = 0;
  bool FRecalcRequested = false;
};

// A field value in the fixed-point form of the sums; raises EOverflow when it does not fit.
// A text that is no number counts 0.
Int64 FieldValueToFixed(const TField* Field);
