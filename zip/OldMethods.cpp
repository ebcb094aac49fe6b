#include "zip/OldMethods.h"
#include "zip/Explode.h"
#include "zip/Unreduce.h"
#include "zip/Unshrink.h"

bool DecodeOlderMethod(uint16_t Method, uint16_t Flags, uint64_t UncompressedSize, TByteSource& Input, TByteSink& Output) {
  switch (Method) {
    case 1: Unshrink(Input, Output); return true;
    case 2:
    case 3:
    case 4:
    case 5: Unreduce(Input, Output, Method - 1u, UncompressedSize); return true;
    case 6: Explode(Input, Output, Flags, UncompressedSize); return true;
    default: return false;
  }
}
