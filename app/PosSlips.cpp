#include "app/PosSlips.h"
#include "app/PrintedText.h"
#include "app/uPub.h"
#include "platform/db/DB.h"
#include "platform/rtl/Encodings.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/ScopeGuards.h"
#include <algorithm>

namespace {

constexpr Integer NarrowestLine = 10;

}  // namespace

QStringList PosSlipLines(TDataSet* Records, const std::vector<TPosColumn>& Columns, const String& AmountFormat) {
  const Integer count = Integer(Columns.size());
  Integer widest = NarrowestLine;
  for (Integer i = 1; i <= count - 2; ++i) widest = std::max(widest, GbkLength(Columns[size_t(i)].Title));
  const String heading = PadRight(String(), (widest - 3) / 2) + QStringLiteral("   工资条");

  std::vector<TField*> fields(Columns.size(), nullptr);
  for (Integer i = 1; i <= count - 3; ++i)
    if (Columns[size_t(i)].Visible) fields[size_t(i)] = Records->FieldByName(Columns[size_t(i)].FieldName);

  QStringList lines;
  TDisableControlsLock lock(Records);
  const TBookmarkStr was = Records->IsEmpty() ? TBookmarkStr() : Records->Bookmark();
  TScopeGuard restore([&] {
    if (!was.isEmpty() && Records->BookmarkValid(was)) Records->SetBookmark(was);
  });
  for (Records->First(); !Records->Eof(); Records->Next()) {
    lines << heading;
    for (Integer i = 1; i <= count - 3; ++i) {
      TField* field = fields[size_t(i)];
      if (!field) continue;
      const String& title = Columns[size_t(i)].Title;
      const Integer bar = title.indexOf(u'|');
      const String caption = bar < 0 ? title : title.mid(bar + 1);
      const String value = dynamic_cast<TFloatField*>(field) ? FormatFloat(AmountFormat, field->AsFloat()) : field->AsString();
      lines << caption + u'\t' + value;
      if (caption.contains(QStringLiteral("合计"))) lines << QStringLiteral("-----------");
    }
    lines << String() << QString(35, u'-') << String();
  }
  return lines;
}

void WritePosSlips(const String& FileName, const QStringList& Lines) {
  QByteArray bytes;
  for (const String& line : Lines) bytes += StringToGbk(line) + "\r\n";
  AtomicWriteFile(FileName, bytes);
}
