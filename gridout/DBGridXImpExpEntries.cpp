// The entry points that take a format as a class: one object, one run, freed however the
// run ends.
#include "gridout/DBGridXImpExp.h"

void ExportGridToStream(const TDBGridXExportClass& ExportClass, TCustomDBGridX* Grid, TStream* Stream, bool WholeGrid) {
  std::unique_ptr<TDBGridXExport> exporter = ExportClass();
  exporter->SetGrid(Grid);
  exporter->SaveToStream(Stream, WholeGrid);
}

void ExportGridToFile(const TDBGridXExportClass& ExportClass, TCustomDBGridX* Grid, const String& FileName,
                      bool WholeGrid) {
  std::unique_ptr<TDBGridXExport> exporter = ExportClass();
  exporter->SetGrid(Grid);
  exporter->SaveToFile(FileName, WholeGrid);
}

void ImportGridFromStream(const TDBGridXImportClass& ImportClass, TCustomDBGridX* Grid, TStream* Stream,
                          bool WholeGrid) {
  std::unique_ptr<TDBGridXImport> importer = ImportClass();
  importer->SetGrid(Grid);
  importer->LoadFromStream(Stream, WholeGrid);
}
