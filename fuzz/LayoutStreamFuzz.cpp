// A column layout may come from anyone who signs it: the input is signed here, so the
// reader behind the digest sees every byte string. It must load or end with the read error,
// and a layout that loads must save and load again.
#include "GridImportFixture.h"
#include <QCryptographicHash>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzGrid& fuzz = TFuzzGrid::Instance();
  const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
  TMemoryStream stream;
  stream.WriteBuffer(body + QCryptographicHash::hash(body, QCryptographicHash::Sha256));
  stream.SetPosition(0);
  TDBGridColumnsX* columns = fuzz.Grid()->Columns();
  try {
    columns->LoadFromStream(&stream);
  } catch (const Exception&) {
    return 0;
  }
  TMemoryStream saved;
  columns->SaveToStream(&saved);
  saved.SetPosition(0);
  columns->LoadFromStream(&saved);
  return 0;
}
