// The column layout stream: a versioned format of our own. After a signature and a version
// come the columns, each as (name, value) entries of its stored properties in declaration
// order, closed by an empty name; a SHA-256 digest of everything before it ends the stream,
// so a truncated or altered layout is refused instead of half applied. A layout may still
// come from anyone who signs it, so reading takes time and memory in proportion to its size.
#include "dbgrid/DBGridX.h"
#include "platform/rtl/Files.h"
#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QSet>

namespace {

const QByteArray LayoutSignature("MOLI-GRID-COLUMNS");
constexpr quint16 LayoutVersion = 1;
constexpr int DigestSize = 32;

[[noreturn]] void LayoutError(const String& Detail) {
  throw EReadError(QStringLiteral("Invalid column layout: %1").arg(Detail));
}

// The smallest a column (its closing empty name) and a list item take in the stream.
constexpr qint64 ColumnEndSize = 4;
constexpr qint64 MinStringSize = 4;
constexpr qint64 MinValueSize = 5;
// Footers cost memory without bytes of their own: a layout makes at most one per this many
// bytes of its stream.
constexpr qint64 StreamBytesPerFooter = 4;

qint64 BytesLeft(QDataStream& In) { return In.device()->bytesAvailable(); }

void CheckRead(QDataStream& In) {
  if (In.status() != QDataStream::Ok) LayoutError(QStringLiteral("truncated"));
}

template <typename T>
QVariant ReadScalar(QDataStream& In) {
  T value{};
  In >> value;
  CheckRead(In);
  return QVariant::fromValue(value);
}

// A list's item count, refused when the rest of the stream cannot hold that many items.
quint32 ReadItemCount(QDataStream& In, qint64 MinItemSize) {
  quint32 count = 0;
  In >> count;
  CheckRead(In);
  if (qint64(count) * MinItemSize > BytesLeft(In)) LayoutError(QStringLiteral("list of %1 items").arg(count));
  return count;
}

// One value as the writer stores it: only the types a layout holds, and a list (a font)
// holds no further list, so no stream can nest values.
QVariant ReadValue(QDataStream& In, bool InList = false) {
  quint32 type = 0;
  qint8 isNull = 0;
  In >> type >> isNull;
  CheckRead(In);
  switch (type) {
    case QMetaType::Bool: return ReadScalar<bool>(In);
    case QMetaType::Int: return ReadScalar<qint32>(In);
    case QMetaType::UInt: return ReadScalar<quint32>(In);
    case QMetaType::LongLong: return ReadScalar<qint64>(In);
    case QMetaType::Double: return ReadScalar<double>(In);
    case QMetaType::QString: return ReadScalar<QString>(In);
    case QMetaType::QStringList: {
      QStringList list;
      for (quint32 i = ReadItemCount(In, MinStringSize); i > 0; --i) {
        QString item;
        In >> item;
        CheckRead(In);
        list << item;
      }
      return list;
    }
    case QMetaType::QVariantList: {
      if (InList) LayoutError(QStringLiteral("list inside a list"));
      QVariantList list;
      for (quint32 i = ReadItemCount(In, MinValueSize); i > 0; --i) list << ReadValue(In, true);
      return list;
    }
    default: break;
  }
  LayoutError(QStringLiteral("value of type %1").arg(type));
}

// An enumeration's value from the stream, refused when the enumeration has no such member.
template <typename E>
E EnumOf(const QVariant& Value, E Last) {
  const int value = Value.toInt();
  if (value < 0 || value > int(Last)) LayoutError(QStringLiteral("value %1 out of range").arg(value));
  return E(value);
}

QVariant FontToVariant(TFont* Font) {
  return QVariantList{Font->Name(), Font->Height(), SetToBits(Font->Style(), 4), qint64(Font->Color()),
                      int(Font->Charset()), int(Font->Pitch())};
}

void VariantToFont(const QVariant& Value, TFont* Font) {
  const QVariantList list = Value.toList();
  if (list.size() != 6) LayoutError(QStringLiteral("font"));
  Font->SetName(list[0].toString());
  Font->SetHeight(list[1].toInt());
  Font->SetStyle(BitsToSet<TFontStyle>(list[2].toUInt(), 4));
  Font->SetColor(TColor(list[3].toLongLong()));
  Font->SetCharset(TFontCharset(list[4].toInt()));
  Font->SetPitch(EnumOf(list[5], fpFixed));
}

// One stored property of an object of type T.
template <typename T>
struct TLayoutProperty {
  const char* Name;
  std::function<bool(T*)> Stored;
  std::function<QVariant(T*)> Get;
  std::function<void(T*, const QVariant&)> Set;
};

template <typename T>
using TPropertyTable = std::vector<TLayoutProperty<T>>;

QVariant StringsToVariant(TStrings* Strings) {
  QStringList list;
  for (Integer i = 0; i < Strings->Count(); ++i) list << Strings->Strings(i);
  return list;
}

void VariantToStrings(const QVariant& Value, TStrings* Strings) {
  Strings->Clear();
  for (const QString& s : Value.toStringList()) Strings->Add(s);
}

const TPropertyTable<TColumnFooterX>& FooterProperties() {
  using F = TColumnFooterX;
  static const TPropertyTable<F> table{
      {"Alignment", [](F* f) { return f->IsAlignmentStored(); }, [](F* f) { return QVariant(int(f->Alignment())); },
       [](F* f, const QVariant& v) { f->SetAlignment(EnumOf(v, taCenter)); }},
      {"Color", [](F* f) { return f->IsColorStored(); }, [](F* f) { return QVariant(qint64(f->Color())); },
       [](F* f, const QVariant& v) { f->SetColor(TColor(v.toLongLong())); }},
      {"DisplayFormat", [](F* f) { return !f->DisplayFormat().isEmpty(); },
       [](F* f) { return QVariant(f->DisplayFormat()); },
       [](F* f, const QVariant& v) { f->SetDisplayFormat(v.toString()); }},
      {"EndEllipsis", [](F* f) { return f->EndEllipsis(); }, [](F* f) { return QVariant(f->EndEllipsis()); },
       [](F* f, const QVariant& v) { f->SetEndEllipsis(v.toBool()); }},
      {"FieldName", [](F* f) { return !f->FieldName().isEmpty(); }, [](F* f) { return QVariant(f->FieldName()); },
       [](F* f, const QVariant& v) { f->SetFieldName(v.toString()); }},
      {"Font", [](F* f) { return f->IsFontStored(); }, [](F* f) { return FontToVariant(f->Font()); },
       [](F* f, const QVariant& v) { VariantToFont(v, f->Font()); }},
      {"ToolTips", [](F* f) { return f->IsToolTipsStored(); }, [](F* f) { return QVariant(f->ToolTips()); },
       [](F* f, const QVariant& v) { f->SetToolTips(v.toBool()); }},
      {"Value", [](F* f) { return !f->Value().isEmpty(); }, [](F* f) { return QVariant(f->Value()); },
       [](F* f, const QVariant& v) { f->SetValue(v.toString()); }},
      {"ValueType", [](F* f) { return f->ValueType() != fvtNon; }, [](F* f) { return QVariant(int(f->ValueType())); },
       [](F* f, const QVariant& v) { f->SetValueType(EnumOf(v, fvtStaticText)); }},
      {"WordWrap", [](F* f) { return f->WordWrap(); }, [](F* f) { return QVariant(f->WordWrap()); },
       [](F* f, const QVariant& v) { f->SetWordWrap(v.toBool()); }},
  };
  return table;
}

const TPropertyTable<TColumnTitleX>& TitleProperties() {
  using T = TColumnTitleX;
  static const TPropertyTable<T> table{
      {"Alignment", [](T* t) { return t->IsAlignmentStored(); }, [](T* t) { return QVariant(int(t->Alignment())); },
       [](T* t, const QVariant& v) { t->SetAlignment(EnumOf(v, taCenter)); }},
      {"Caption", [](T* t) { return t->IsCaptionStored(); }, [](T* t) { return QVariant(t->Caption()); },
       [](T* t, const QVariant& v) { t->SetCaption(v.toString()); }},
      {"Color", [](T* t) { return t->IsColorStored(); }, [](T* t) { return QVariant(qint64(t->Color())); },
       [](T* t, const QVariant& v) { t->SetColor(TColor(v.toLongLong())); }},
      {"EndEllipsis", [](T* t) { return t->IsEndEllipsisStored(); }, [](T* t) { return QVariant(t->EndEllipsis()); },
       [](T* t, const QVariant& v) { t->SetEndEllipsis(v.toBool()); }},
      {"Font", [](T* t) { return t->IsFontStored(); }, [](T* t) { return FontToVariant(t->Font()); },
       [](T* t, const QVariant& v) { VariantToFont(v, t->Font()); }},
      {"Hint", [](T* t) { return !t->Hint().isEmpty(); }, [](T* t) { return QVariant(t->Hint()); },
       [](T* t, const QVariant& v) { t->SetHint(v.toString()); }},
      {"ImageIndex", [](T* t) { return t->ImageIndex() != -1; }, [](T* t) { return QVariant(t->ImageIndex()); },
       [](T* t, const QVariant& v) { t->SetImageIndex(v.toInt()); }},
      {"Orientation", [](T* t) { return t->IsOrientationStored(); },
       [](T* t) { return QVariant(int(t->Orientation())); },
       [](T* t, const QVariant& v) { t->SetOrientation(EnumOf(v, tohVertical)); }},
      {"SortIndex", [](T* t) { return t->SortIndex() != 0; }, [](T* t) { return QVariant(t->SortIndex()); },
       [](T* t, const QVariant& v) { t->SetSortIndex(v.toInt()); }},
      {"SortMarker", [](T* t) { return t->SortMarker() != smNoneX; }, [](T* t) { return QVariant(int(t->SortMarker())); },
       [](T* t, const QVariant& v) { t->SetSortMarker(EnumOf(v, smUpX)); }},
      {"TitleButton", [](T* t) { return t->IsTitleButtonStored(); }, [](T* t) { return QVariant(t->TitleButton()); },
       [](T* t, const QVariant& v) { t->SetTitleButton(v.toBool()); }},
      {"ToolTips", [](T* t) { return t->IsToolTipsStored(); }, [](T* t) { return QVariant(t->ToolTips()); },
       [](T* t, const QVariant& v) { t->SetToolTips(v.toBool()); }},
  };
  return table;
}

#define MOLI_ASSIGNED_BOOL(Name, Bit)                                                                  \
  {#Name, [](C* c) { return c->IsAssigned(Bit) && c->Name() != c->Default##Name(); },                 \
   [](C* c) { return QVariant(c->Name()); }, [](C* c, const QVariant& v) { c->Set##Name(v.toBool()); }}

const TPropertyTable<TColumnX>& ColumnProperties() {
  using C = TColumnX;
  static const TPropertyTable<C> table{
      {"Alignment", [](C* c) { return c->IsAlignmentStored(); }, [](C* c) { return QVariant(int(c->Alignment())); },
       [](C* c, const QVariant& v) { c->SetAlignment(EnumOf(v, taCenter)); }},
      MOLI_ASSIGNED_BOOL(AlwaysShowEditButton, cvAlwaysShowEditButton),
      MOLI_ASSIGNED_BOOL(AutoDropDown, cvAutoDropDown),
      {"AutoFitColWidth", [](C* c) { return !c->AutoFitColWidth(); }, [](C* c) { return QVariant(c->AutoFitColWidth()); },
       [](C* c, const QVariant& v) { c->SetAutoFitColWidth(v.toBool()); }},
      {"BiDiMode", [](C* c) { return c->IsAssigned(cvBiDiMode); }, [](C* c) { return QVariant(int(c->BiDiMode())); },
       [](C* c, const QVariant& v) { c->SetBiDiMode(EnumOf(v, bdRightToLeftReadingOnly)); }},
      {"ButtonStyle", [](C* c) { return c->ButtonStyle() != cbsAuto; }, [](C* c) { return QVariant(int(c->ButtonStyle())); },
       [](C* c, const QVariant& v) { c->SetButtonStyle(EnumOf(v, cbsAltDropDown)); }},
      {"Checkboxes", [](C* c) { return c->IsAssigned(cvCheckboxes); }, [](C* c) { return QVariant(c->Checkboxes()); },
       [](C* c, const QVariant& v) { c->SetCheckboxes(v.toBool()); }},
      {"Color", [](C* c) { return c->IsColorStored(); }, [](C* c) { return QVariant(qint64(c->Color())); },
       [](C* c, const QVariant& v) { c->SetColor(TColor(v.toLongLong())); }},
      MOLI_ASSIGNED_BOOL(DblClickNextVal, cvDblClickNextVal),
      {"DisplayFormat", [](C* c) { return !c->DisplayFormat().isEmpty(); }, [](C* c) { return QVariant(c->DisplayFormat()); },
       [](C* c, const QVariant& v) { c->SetDisplayFormat(v.toString()); }},
      {"DropDownRows", [](C* c) { return c->DropDownRows() != 7; }, [](C* c) { return QVariant(c->DropDownRows()); },
       [](C* c, const QVariant& v) { c->SetDropDownRows(v.toUInt()); }},
      MOLI_ASSIGNED_BOOL(DropDownShowTitles, cvDropDownShowTitles),
      MOLI_ASSIGNED_BOOL(DropDownSizing, cvDropDownSizing),
      {"DropDownWidth", [](C* c) { return c->DropDownWidth() != 0; }, [](C* c) { return QVariant(c->DropDownWidth()); },
       [](C* c, const QVariant& v) { c->SetDropDownWidth(v.toInt()); }},
      {"EditMask", [](C* c) { return !c->EditMask().isEmpty(); }, [](C* c) { return QVariant(c->EditMask()); },
       [](C* c, const QVariant& v) { c->SetEditMask(v.toString()); }},
      MOLI_ASSIGNED_BOOL(EndEllipsis, cvEndEllipsis),
      {"FieldName", [](C* c) { return !c->FieldName().isEmpty(); }, [](C* c) { return QVariant(c->FieldName()); },
       [](C* c, const QVariant& v) { c->SetFieldName(v.toString()); }},
      {"Font", [](C* c) { return c->IsFontStored(); }, [](C* c) { return FontToVariant(c->Font()); },
       [](C* c, const QVariant& v) { VariantToFont(v, c->Font()); }},
      {"HideDuplicates", [](C* c) { return c->HideDuplicates(); }, [](C* c) { return QVariant(c->HideDuplicates()); },
       [](C* c, const QVariant& v) { c->SetHideDuplicates(v.toBool()); }},
      MOLI_ASSIGNED_BOOL(HighlightRequired, cvHighlightRequired),
      {"Increment", [](C* c) { return c->Increment() != 1; }, [](C* c) { return QVariant(double(c->Increment())); },
       [](C* c, const QVariant& v) { c->SetIncrement(v.toDouble()); }},
      {"KeyList", [](C* c) { return c->KeyList()->Count() > 0; }, [](C* c) { return StringsToVariant(c->KeyList()); },
       [](C* c, const QVariant& v) { VariantToStrings(v, c->KeyList()); }},
      {"Layout", [](C* c) { return c->IsAssigned(cvLayout) && c->Layout() != c->DefaultLayout(); },
       [](C* c) { return QVariant(int(c->Layout())); }, [](C* c, const QVariant& v) { c->SetLayout(EnumOf(v, tlBottom)); }},
      {"LookupDisplayFields",
       [](C* c) { return c->IsAssigned(cvLookupDisplayFields) && c->LookupDisplayFields() != c->DefaultLookupDisplayFields(); },
       [](C* c) { return QVariant(c->LookupDisplayFields()); },
       [](C* c, const QVariant& v) { c->SetLookupDisplayFields(v.toString()); }},
      {"MaxWidth", [](C* c) { return c->MaxWidth() != 0; }, [](C* c) { return QVariant(c->MaxWidth()); },
       [](C* c, const QVariant& v) { c->SetMaxWidth(v.toInt()); }},
      {"MinWidth", [](C* c) { return c->MinWidth() != 0; }, [](C* c) { return QVariant(c->MinWidth()); },
       [](C* c, const QVariant& v) { c->SetMinWidth(v.toInt()); }},
      {"NotInKeyListIndex", [](C* c) { return c->NotInKeyListIndex() != -1; },
       [](C* c) { return QVariant(c->NotInKeyListIndex()); },
       [](C* c, const QVariant& v) { c->SetNotInKeyListIndex(v.toInt()); }},
      {"PickList", [](C* c) { return c->PickList()->Count() > 0; }, [](C* c) { return StringsToVariant(c->PickList()); },
       [](C* c, const QVariant& v) { VariantToStrings(v, c->PickList()); }},
      {"ReadOnly", [](C* c) { return c->IsReadOnlyStored(); }, [](C* c) { return QVariant(c->ReadOnly()); },
       [](C* c, const QVariant& v) { c->SetReadOnly(v.toBool()); }},
      {"ShowImageAndText", [](C* c) { return c->ShowImageAndText(); }, [](C* c) { return QVariant(c->ShowImageAndText()); },
       [](C* c, const QVariant& v) { c->SetShowImageAndText(v.toBool()); }},
      {"Tag", [](C* c) { return c->Tag() != 0; }, [](C* c) { return QVariant(c->Tag()); },
       [](C* c, const QVariant& v) { c->SetTag(v.toInt()); }},
      MOLI_ASSIGNED_BOOL(TextEditing, cvTextEditing),
      MOLI_ASSIGNED_BOOL(ToolTips, cvToolTips),
      {"Visible", [](C* c) { return !c->Visible(); }, [](C* c) { return QVariant(c->Visible()); },
       [](C* c, const QVariant& v) { c->SetVisible(v.toBool()); }},
      {"Width", [](C* c) { return c->IsWidthStored(); }, [](C* c) { return QVariant(c->Width()); },
       [](C* c, const QVariant& v) { c->SetWidth(v.toInt()); }},
      {"WordWrap", [](C* c) { return c->IsWordWrapStored(); }, [](C* c) { return QVariant(c->WordWrap()); },
       [](C* c, const QVariant& v) { c->SetWordWrap(v.toBool()); }},
      {"InRowLinePos", [](C* c) { return c->InRowLinePos() != 0; }, [](C* c) { return QVariant(c->InRowLinePos()); },
       [](C* c, const QVariant& v) { c->SetInRowLinePos(v.toInt()); }},
      {"InRowLineHeight", [](C* c) { return c->InRowLineHeight() != 1; },
       [](C* c) { return QVariant(c->InRowLineHeight()); },
       [](C* c, const QVariant& v) { c->SetInRowLineHeight(v.toInt()); }},
  };
  return table;
}
#undef MOLI_ASSIGNED_BOOL

template <typename T>
void WriteProperties(QDataStream& Out, T* Object, const TPropertyTable<T>& Table, const QString& Prefix) {
  for (const TLayoutProperty<T>& property : Table)
    if (property.Stored(Object)) Out << Prefix + QString::fromLatin1(property.Name) << property.Get(Object);
}

void WriteFooter(QDataStream& Out, TColumnFooterX* Footer, const QString& Prefix) {
  WriteProperties(Out, Footer, FooterProperties(), Prefix);
}

void WriteColumn(QDataStream& Out, TColumnX* Column) {
  const TPropertyTable<TColumnX>& columnTable = ColumnProperties();
  // Declaration order: the owned parts sit among the column's own properties by name.
  for (const TLayoutProperty<TColumnX>& property : columnTable) {
    const QString name = QString::fromLatin1(property.Name);
    if (name == QLatin1String("Font")) {
      WriteFooter(Out, Column->Footer(), QStringLiteral("Footer."));
      Out << QStringLiteral("Footers") << QVariant(Column->Footers()->Count());
      for (Integer i = 0; i < Column->Footers()->Count(); ++i)
        WriteFooter(Out, Column->Footers()->Items(i), QStringLiteral("Footers.%1.").arg(i));
    }
    if (name == QLatin1String("ToolTips")) WriteProperties(Out, Column->Title(), TitleProperties(), QStringLiteral("Title."));
    if (property.Stored(Column)) Out << name << property.Get(Column);
  }
  Out << QString();
}

template <typename T>
bool ApplyProperty(T* Object, const TPropertyTable<T>& Table, const QString& Name, const QVariant& Value) {
  for (const TLayoutProperty<T>& property : Table)
    if (Name == QLatin1String(property.Name)) {
      property.Set(Object, Value);
      return true;
    }
  return false;
}

void ApplyColumnProperty(TColumnX* Column, const QString& Name, const QVariant& Value, qint64& FooterBudget) {
  if (Name.startsWith(QLatin1String("Title."))) {
    if (ApplyProperty(Column->Title(), TitleProperties(), Name.mid(6), Value)) return;
  } else if (Name.startsWith(QLatin1String("Footer."))) {
    if (ApplyProperty(Column->Footer(), FooterProperties(), Name.mid(7), Value)) return;
  } else if (Name == QLatin1String("Footers")) {
    const int count = Value.toInt();
    if (count < 0 || count > 10000 || count > FooterBudget) LayoutError(Name);
    FooterBudget -= count;
    Column->Footers()->Clear();
    for (int i = 0; i < count; ++i) Column->Footers()->Add();
    return;
  } else if (Name.startsWith(QLatin1String("Footers."))) {
    const qsizetype dot = Name.indexOf(QLatin1Char('.'), 8);
    bool ok = false;
    const int index = Name.mid(8, dot - 8).toInt(&ok);
    if (ok && dot > 0 && index >= 0 && index < Column->Footers()->Count() &&
        ApplyProperty(Column->Footers()->Items(index), FooterProperties(), Name.mid(dot + 1), Value))
      return;
  } else if (ApplyProperty(Column, ColumnProperties(), Name, Value)) {
    return;
  }
  LayoutError(Name);
}

}  // namespace

void TDBGridColumnsX::SaveToStream(TStream* Stream) const {
  QByteArray body;
  {
    QDataStream out(&body, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    out.writeRawData(LayoutSignature.constData(), int(LayoutSignature.size()));
    out << LayoutVersion << quint32(Count());
    for (Integer i = 0; i < Count(); ++i) WriteColumn(out, Items(i));
  }
  body += QCryptographicHash::hash(body, QCryptographicHash::Sha256);
  Stream->WriteBuffer(body);
}

void TDBGridColumnsX::LoadFromStream(TStream* Stream) {
  const QByteArray all = Stream->ReadRest();
  if (all.size() < LayoutSignature.size() + DigestSize) LayoutError(QStringLiteral("too short"));
  const QByteArray body = all.left(all.size() - DigestSize);
  if (QCryptographicHash::hash(body, QCryptographicHash::Sha256) != all.right(DigestSize))
    LayoutError(QStringLiteral("damaged"));
  if (!body.startsWith(LayoutSignature)) LayoutError(QStringLiteral("not a column layout"));
  QDataStream in(body);
  in.setVersion(QDataStream::Qt_6_4);
  in.skipRawData(int(LayoutSignature.size()));
  quint16 version = 0;
  quint32 count = 0;
  in >> version >> count;
  if (version != LayoutVersion) LayoutError(QStringLiteral("version %1").arg(version));
  if (qint64(count) * ColumnEndSize > BytesLeft(in)) LayoutError(QStringLiteral("column count"));
  qint64 footerBudget = body.size() / StreamBytesPerFooter;
  // Read into a scratch collection first so a failure leaves these columns as they are.
  TDBGridColumnsX loaded(nullptr, ItemClass());
  for (quint32 i = 0; i < count; ++i) {
    TColumnX* column = loaded.Add();
    QSet<QString> names;
    for (;;) {
      QString name;
      in >> name;
      CheckRead(in);
      if (name.isEmpty()) break;
      if (names.contains(name)) LayoutError(QStringLiteral("%1 given twice").arg(name));
      names.insert(name);
      ApplyColumnProperty(column, name, ReadValue(in), footerBudget);
    }
  }
  if (!in.atEnd()) LayoutError(QStringLiteral("trailing data"));
  Assign(&loaded);
  for (Integer i = 0; i < Count(); ++i) Items(i)->SetStored(true);
}

void TDBGridColumnsX::SaveToFile(const String& FileName) const {
  TMemoryStream stream;
  SaveToStream(&stream);
  stream.SetPosition(0);
  AtomicWriteFile(FileName, stream.ReadRest());
}

void TDBGridColumnsX::LoadFromFile(const String& FileName) {
  QFile file(FileName);
  if (!file.open(QIODevice::ReadOnly)) throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
  TMemoryStream stream;
  stream.WriteBuffer(file.readAll());
  stream.SetPosition(0);
  LoadFromStream(&stream);
}
