// Pasted text comes from any program: every byte string, read as code page 936 and as
// UTF-16, must import or end with the format error.
#include "GridImportFixture.h"
#include "gridout/DBGridXImportFormats.h"
#include "platform/ui/Dialogs.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzGrid& fuzz = TFuzzGrid::Instance();
  for (const TDBGridXImportClass& importClass :
       {ImportClassOf<TDBGridXImportAsText>(), ImportClassOf<TDBGridXImportAsUnicodeText>()}) {
    fuzz.Reset();
    TScriptedDialogs dialogs;
    TMemoryStream stream;
    stream.WriteBuffer(data, Integer(size));
    stream.SetPosition(0);
    try {
      ImportGridFromStream(importClass, fuzz.Grid(), &stream, size % 2 == 0);
    } catch (const Exception&) {
    }
  }
  return 0;
}
