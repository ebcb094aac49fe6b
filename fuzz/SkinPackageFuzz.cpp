// Skin packages come from files the user picks: unpacking any bytes must end cleanly, either
// with members that lie inside the unpacked data or with a refusal.
#include "skin/SkinLzh.h"
#include "skin/SkinReader.h"
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray package(reinterpret_cast<const char*>(data), qsizetype(size));
  TSkinReader reader;
  try {
    reader.ReadPackage(package);
  } catch (const Exception&) {
    return 0;
  }
  qsizetype total = 0;
  for (const String& name : reader.Names()) total += reader.GetMember(name).size();
  String found;
  total += reader.GetMemberContaining(".ini", found).size();
  return total < 0 ? 1 : 0;
}
