#include "gridout/GridClipboard.h"
#include "gridout/DBGridXExportFormats.h"
#include "gridout/DBGridXImportFormats.h"
#include "platform/rtl/ScopeGuards.h"
#include "platform/ui/Clipbrd.h"

const Word CsvClipboardFormat = RegisterClipboardFormat(QStringLiteral("Csv"));
const Word RtfClipboardFormat = RegisterClipboardFormat(QStringLiteral("Rich Text Format"));
const Word GridbifClipboardFormat = RegisterClipboardFormat(QStringLiteral("GRIDBIF"));

void PutStreamOnClipboard(Word Format, TMemoryStream* Stream) { Clipboard()->SetAsBytes(Format, Stream->Bytes()); }

void GetClipboardToStream(Word Format, TStream* Stream) {
  if (!Clipboard()->HasFormat(Format)) return;
  const QByteArray bytes = Clipboard()->GetAsBytes(Format);
  if (!bytes.isEmpty()) Stream->WriteBuffer(bytes);
}

void CopyGridToClipboard(TCustomDBGridX* Grid, bool WholeGrid) {
  struct TFormat {
    Word Number;
    TDBGridXExportClass Class;
    QByteArray Terminator;
  };
  const std::vector<TFormat> formats{
      {CF_TEXT, ExportClassOf<TDBGridXExportAsText>(), QByteArray(1, '\0')},
      {CF_UNICODETEXT, ExportClassOf<TDBGridXExportAsUnicodeText>(), QByteArray(2, '\0')},
      {CsvClipboardFormat, ExportClassOf<TDBGridXExportAsCSV>(), QByteArray(1, '\0')},
      {RtfClipboardFormat, ExportClassOf<TDBGridXExportAsRTF>(), QByteArray(1, '\0')},
      {GridbifClipboardFormat, ExportClassOf<TDBGridXExportAsGRIDBIF>(), QByteArray()}};
  TDataSet* dataSet = Grid->DataSet();
  // Held open, so the five formats arrive as one clipboard content.
  Clipboard()->Open();
  dataSet->DisableControls();
  TScopeGuard close([&] {
    Clipboard()->Close();
    dataSet->EnableControls();
  });
  TMemoryStreamX stream;
  stream.SetHalfStep(65536);
  for (const TFormat& format : formats) {
    ExportGridToStream(format.Class, Grid, &stream, WholeGrid);
    if (!format.Terminator.isEmpty()) stream.WriteBuffer(format.Terminator);
    PutStreamOnClipboard(format.Number, &stream);
    stream.Clear();
  }
}

void CutGridToClipboard(TCustomDBGridX* Grid, bool WholeGrid) {
  CopyGridToClipboard(Grid, WholeGrid);
  DeleteGridSelection(Grid, WholeGrid);
}

void PasteGridFromClipboard(TCustomDBGridX* Grid, bool WholeGrid) {
  struct TFormat {
    Word Number;
    TDBGridXImportClass Class;
  };
  const std::vector<TFormat> formats{{GridbifClipboardFormat, ImportClassOf<TDBGridXImportAsGRIDBIF>()},
                                     {CF_UNICODETEXT, ImportClassOf<TDBGridXImportAsUnicodeText>()},
                                     {CF_TEXT, ImportClassOf<TDBGridXImportAsText>()}};
  Clipboard()->Open();
  TScopeGuard close([] { Clipboard()->Close(); });
  for (const TFormat& format : formats) {
    if (!Clipboard()->HasFormat(format.Number)) continue;
    TMemoryStream stream;
    GetClipboardToStream(format.Number, &stream);
    stream.SetPosition(0);
    ImportGridFromStream(format.Class, Grid, &stream, WholeGrid);
    return;
  }
}
