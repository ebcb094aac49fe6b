#pragma once
// The class library: persistent objects and components (ownership, names,
// component state, free notification), pointer lists, string lists, streams and
// collections.
#include "platform/rtl/Exception.h"
#include <QByteArray>
#include <QtEndian>
#include <type_traits>
#include <vector>

class TPersistent : public TObject {
public:
  // Copies Source into this object; raises EConvertError "Cannot assign a X to a Y"
  // when neither side knows the other.
  virtual void Assign(TPersistent* Source);
  virtual String ClassName() const;
  // The object this one belongs to, if any (a component's owner, an owned collection's owner).
  virtual TPersistent* GetOwner() const { return nullptr; }
protected:
  virtual void AssignTo(TPersistent* Dest);
  [[noreturn]] void AssignError(TPersistent* Source);
};

enum TComponentStateValue { csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor,
                            csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance };
using TComponentState = TSet<TComponentStateValue>;

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override { return FOwner; }
  const String& Name() const { return FName; }
  // Names are unique among the owner's components (compared without case);
  // raises EComponentError for a duplicate.
  virtual void SetName(const String& Value);
  Int64 Tag() const { return FTag; }
  void SetTag(Int64 Value) { FTag = Value; }
  const TComponentState& ComponentState() const { return FComponentState; }

  Integer ComponentCount() const { return Integer(FComponents.size()); }
  TComponent* Components(Integer Index) const;
  Integer ComponentIndex() const;
  TComponent* FindComponent(const String& AName) const;

  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);

  // AComponent will be told (Notification opRemove) when this component goes,
  // whoever owns it.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Component state for streaming and designing; Loaded is called once when
  // loading ends.
  void BeginLoading();
  void EndLoading();
  void SetDesigning(bool Value);
  // Marks this component and everything it owns as being destroyed.
  void Destroying();
protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void Loaded();
  void IncludeState(TComponentStateValue v) { FComponentState.Include(v); }
  void ExcludeState(TComponentStateValue v) { FComponentState.Exclude(v); }
private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  String FName;
  Int64 FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// ---------------------------------------------------------------------------
// Pointer list

enum TListNotification { lnAdded, lnExtracted, lnDeleted };
using TListSortCompare = std::function<Integer(void* Item1, void* Item2)>;

class TList : public TObject {
public:
  TList() = default;
  ~TList() override = default;
  TList(const TList&) = delete;
  TList& operator=(const TList&) = delete;

  Integer Count() const { return Integer(FList.size()); }
  void* Items(Integer Index) const;
  void SetItems(Integer Index, void* Item);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  Integer Add(void* Item);
  void Insert(Integer Index, void* Item);
  void Delete(Integer Index);
  // Removes the first occurrence; returns its former index or -1.
  Integer Remove(void* Item);
  // Takes the item out without it being deleted by an owning list.
  void* Extract(void* Item);
  Integer IndexOf(void* Item) const;
  void Exchange(Integer Index1, Integer Index2);
  void Move(Integer CurIndex, Integer NewIndex);
  void Sort(const TListSortCompare& Compare);
  virtual void Clear();
protected:
  // Called after an item enters the list and after it leaves it.
  virtual void Notify(void* Ptr, TListNotification Action);
private:
  void CheckIndex(Integer Index, Integer Limit) const;
  std::vector<void*> FList;
};

// ---------------------------------------------------------------------------
// Collections: an owned, ordered set of items of one class.

class TCollection;

class TCollectionItem : public TPersistent {
public:
  // Joins Collection (if any) as its last item.
  explicit TCollectionItem(TCollection* Collection);
  // Leaves the collection, which reports the change.
  ~TCollectionItem() override;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or out of any, with nullptr).
  void SetCollection(TCollection* Value);
  // A number unique within the collection, kept while the item lives.
  Integer ID() const { return FID; }
  Integer Index() const;
  // Moves the item to position Value; raises EListError when Value is out of range.
  virtual void SetIndex(Integer Value);
  virtual String DisplayName() const;
  virtual void SetDisplayName(const String& Value);
  TPersistent* GetOwner() const override;
protected:
  // Tells the collection this item (or, with AllItems, the whole collection) changed.
  virtual void Changed(bool AllItems);
private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  Integer FID = 0;
};

// Makes the items of a collection: ItemClassOf<TMyItem>() for items constructed as TMyItem(Collection).
using TCollectionItemClass = std::function<TCollectionItem*(TCollection* Collection)>;
template <typename T> TCollectionItemClass ItemClassOf() {
  return [](TCollection* Collection) -> TCollectionItem* { return new T(Collection); };
}

class TCollection : public TPersistent {
public:
  explicit TCollection(TCollectionItemClass ItemClass);
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  TCollectionItem* Add();
  // A new item at Index.
  TCollectionItem* Insert(Integer Index);
  void Delete(Integer Index);
  void Clear();
  Integer Count() const { return Integer(FItems.size()); }
  TCollectionItem* Items(Integer Index) const;
  // Copies Value into the item at Index through Assign.
  void SetItems(Integer Index, TCollectionItem* Value);
  TCollectionItem* FindItemID(Integer ID) const;
  const TCollectionItemClass& ItemClass() const { return FItemClass; }
  TPersistent* Owner() const { return GetOwner(); }
  // Replaces the items with copies of Source's, made through the items' Assign.
  void Assign(TPersistent* Source) override;

  // Changes inside an update bracket are reported once, by Update(nullptr) at the outermost EndUpdate.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }
protected:
  // Called after a change: Item is the changed item, nullptr when the whole collection changed.
  virtual void Update(TCollectionItem* Item);
  void Changed();
private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  std::vector<TCollectionItem*> FItems;
  TCollectionItemClass FItemClass;
  Integer FUpdateCount = 0;
  Integer FNextID = 0;
};

// A collection that answers its owner (a component or another persistent object).
class TOwnedCollection : public TCollection {
public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(std::move(ItemClass)), FOwner(AOwner) {}
  TPersistent* GetOwner() const override { return FOwner; }
private:
  TPersistent* FOwner;
};

// ---------------------------------------------------------------------------
// String lists

class TStream;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
public:
  Integer Count() const { return GetCount(); }
  String Strings(Integer Index) const { return Get(Index); }
  void SetStrings(Integer Index, const String& S) { Put(Index, S); }
  String operator[](Integer Index) const { return Get(Index); }
  TObject* Objects(Integer Index) const { return GetObject(Index); }
  void SetObjects(Integer Index, TObject* AObject) { PutObject(Index, AObject); }

  virtual Integer Add(const String& S);
  virtual Integer AddObject(const String& S, TObject* AObject);
  virtual void AddStrings(TStrings* Strings);
  virtual void Insert(Integer Index, const String& S) = 0;
  virtual void InsertObject(Integer Index, const String& S, TObject* AObject);
  virtual void Delete(Integer Index) = 0;
  virtual void Clear() = 0;
  virtual void Move(Integer CurIndex, Integer NewIndex);
  virtual void Exchange(Integer Index1, Integer Index2);
  virtual Integer IndexOf(const String& S) const;
  Integer IndexOfName(const String& Name) const;
  Integer IndexOfObject(TObject* AObject) const;
  void Assign(TPersistent* Source) override;

  // Name=value pairs, split at the first NameValueSeparator.
  String Names(Integer Index) const;
  String Values(const String& Name) const;
  // An empty value removes the pair; a new name is added.
  void SetValues(const String& Name, const String& Value);
  String ValueFromIndex(Integer Index) const;
  void SetValueFromIndex(Integer Index, const String& Value);
  QChar NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(QChar Value) { FNameValueSeparator = Value; }

  // Every line followed by CR LF; reading accepts CR LF, LF and CR.
  String Text() const { return GetTextStr(); }
  void SetText(const String& Value) { SetTextStr(Value); }
  String CommaText() const;
  void SetCommaText(const String& Value);
  String DelimitedText() const;
  void SetDelimitedText(const String& Value);
  QChar Delimiter() const { return FDelimiter; }
  void SetDelimiter(QChar Value) { FDelimiter = Value; }
  QChar QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(QChar Value) { FQuoteChar = Value; }
  // Strict: only the delimiter separates items; otherwise blanks do too.
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  void BeginUpdate();
  void EndUpdate();
  Integer UpdateCount() const { return FUpdateCount; }

  // Text files are read as UTF-8, or as GBK when they are not valid UTF-8; written as UTF-8.
  virtual void LoadFromFile(const String& FileName);
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToFile(const String& FileName);
  virtual void SaveToStream(TStream* Stream);
protected:
  virtual String Get(Integer Index) const = 0;
  virtual Integer GetCount() const = 0;
  virtual void Put(Integer Index, const String& S);
  virtual TObject* GetObject(Integer Index) const;
  virtual void PutObject(Integer Index, TObject* AObject);
  virtual String GetTextStr() const;
  virtual void SetTextStr(const String& Value);
  virtual void SetUpdateState(bool Updating);
  virtual Integer CompareStrings(const String& S1, const String& S2) const;
  [[noreturn]] static void IndexError(Integer Index);
private:
  String DelimitedTextWith(QChar Delim, QChar Quote) const;
  void SetDelimitedTextWith(const String& Value, QChar Delim, QChar Quote);
  Integer FUpdateCount = 0;
  QChar FDelimiter = u',';
  QChar FQuoteChar = u'"';
  QChar FNameValueSeparator = u'=';
  bool FStrictDelimiter = false;
};

class TStringList;
using TStringListSortCompare = std::function<Integer(TStringList* List, Integer Index1, Integer Index2)>;

class TStringList : public TStrings {
public:
  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;

  Integer AddObject(const String& S, TObject* AObject) override;
  void Insert(Integer Index, const String& S) override;
  void InsertObject(Integer Index, const String& S, TObject* AObject) override;
  void Delete(Integer Index) override;
  void Clear() override;
  void Move(Integer CurIndex, Integer NewIndex) override;
  void Exchange(Integer Index1, Integer Index2) override;
  Integer IndexOf(const String& S) const override;
  // Binary search of a sorted list: true when found; Index is where S is or would go.
  virtual bool Find(const String& S, Integer& Index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // An owning list deletes its objects when their strings are deleted.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  // Fired around every change, once per outermost BeginUpdate/EndUpdate.
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;
protected:
  String Get(Integer Index) const override;
  Integer GetCount() const override { return Integer(FList.size()); }
  void Put(Integer Index, const String& S) override;
  TObject* GetObject(Integer Index) const override;
  void PutObject(Integer Index, TObject* AObject) override;
  void SetUpdateState(bool Updating) override;
  Integer CompareStrings(const String& S1, const String& S2) const override;
  virtual void Changed();
  virtual void Changing();
private:
  struct TStringItem {
    String FString;
    TObject* FObject = nullptr;
  };
  void CheckIndex(Integer Index, Integer Limit) const;
  void InsertItem(Integer Index, const String& S, TObject* AObject);
  std::vector<TStringItem> FList;
  TDuplicates FDuplicates = dupIgnore;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
};

// ---------------------------------------------------------------------------
// Streams

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File stream modes: one access mode or fmCreate, combined with one sharing mode.
// Sharing modes are accepted for compatibility; Linux has no mandatory locks to map them to.
constexpr Word fmCreate = 0xFFFF;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
  // Read and Write return the number of bytes moved (0 on failure).
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;
  // Raise EReadError / EWriteError unless every byte moves.
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  void WriteBuffer(const QByteArray& Bytes) { WriteBuffer(Bytes.constData(), Integer(Bytes.size())); }
  // Copies Count bytes from Source's position; Count 0 copies the whole Source from its start.
  Int64 CopyFrom(TStream* Source, Int64 Count);
  // The bytes from the position to the end.
  QByteArray ReadRest();

  Int64 Position() { return Seek(0, soCurrent); }
  void SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize);

  template <typename T> T ReadLittleEndian() {
    static_assert(std::is_integral_v<T>);
    T Value{};
    ReadBuffer(&Value, Integer(sizeof(T)));
    return qFromLittleEndian(Value);
  }
  template <typename T> void WriteLittleEndian(T Value) {
    static_assert(std::is_integral_v<T>);
    const T Stored = qToLittleEndian(Value);
    WriteBuffer(&Stored, Integer(sizeof(T)));
  }
};

class TMemoryStream : public TStream {
public:
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FData.size(); }
  void SetSize(Int64 NewSize) override;
  char* Memory() { return FData.data(); }
  const char* Memory() const { return FData.constData(); }
  const QByteArray& Bytes() const { return FData; }
  Int64 Capacity() const { return FCapacity; }
  void SetCapacity(Int64 NewCapacity);
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const String& FileName);
  void SaveToStream(TStream* Stream);
  void SaveToFile(const String& FileName);
protected:
  // The capacity to reserve when NewCapacity bytes are needed: whole 8 KiB blocks.
  virtual Int64 Realloc(Int64 NewCapacity);
private:
  QByteArray FData;
  Int64 FPosition = 0;
  Int64 FCapacity = 0;
};

// A memory stream over the UTF-8 bytes of a string.
class TStringStream : public TMemoryStream {
public:
  explicit TStringStream(const String& AString = String());
  String DataString() const { return String::fromUtf8(Bytes()); }
};

class TFileStream : public TStream {
public:
  // Raises EFCreateError (fmCreate) or EFOpenError when the file cannot be opened or is a folder.
  TFileStream(const String& AFileName, Word Mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  const String& FileName() const { return FFileName; }
private:
  String FFileName;
  int FHandle = -1;
};
