// Pasted interchange data comes from any program: every byte string must import or end
// with the format error, never read beyond the data or allocate from an unbacked count.
#include "GridImportFixture.h"
#include "gridout/DBGridXImportFormats.h"
#include "platform/ui/Dialogs.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzGrid& fuzz = TFuzzGrid::Instance();
  fuzz.Reset();
  TScriptedDialogs dialogs;
  TMemoryStream stream;
  stream.WriteBuffer(data, Integer(size));
  stream.SetPosition(0);
  try {
    ImportGridFromStream(ImportClassOf<TDBGridXImportAsGRIDBIF>(), fuzz.Grid(), &stream, true);
  } catch (const Exception&) {
  }
  return 0;
}
