#include "zip/Unshrink.h"
#include "zip/OldMethodsIO.h"
#include <memory>
#include <vector>

namespace {

constexpr unsigned kCodes = 8192;
constexpr unsigned kFirstFree = 257;
constexpr unsigned kEscape = 256;
constexpr unsigned kMaxCodeSize = 13;
constexpr uint16_t kNever = 0xFFFF;  // prefix of a slot that was never defined

class TUnshrinker {
public:
  TUnshrinker(TByteSource& Input, TByteSink& Output) : FBits(Input), FOut(Output) {
    FPrefix.fill(kNever);
    for (unsigned c = 0; c < 256; ++c) FSuffix[c] = uint8_t(c);
  }

  void Run() {
    uint32_t code = 0;
    if (!FBits.TryTake(FCodeSize, code)) return;
    if (code > 255) throw EZipDataError(QStringLiteral("Shrunk data does not start with a byte"));
    FOut.Put(uint8_t(code));
    unsigned previous = code;
    while (FBits.TryTake(FCodeSize, code)) {
      if (code == kEscape) {
        Escape();
        continue;
      }
      const bool defined = code < 256 || FInUse[code];
      uint8_t first;
      if (defined) {
        first = Spell(code);
      } else {
        // Not defined yet: the string being defined now, the previous one plus its own first byte.
        first = Spell(previous);
        FStack.insert(FStack.begin(), first);
      }
      for (auto it = FStack.rbegin(); it != FStack.rend(); ++it) FOut.Put(*it);
      AddEntry(previous, first);
      previous = code;
    }
    FOut.Flush();
  }

private:
  void Escape() {
    uint32_t sub = 0;
    if (!FBits.TryTake(FCodeSize, sub)) return;
    if (sub == 1) {
      if (++FCodeSize > kMaxCodeSize) throw EZipDataError(QStringLiteral("Shrunk data asks for codes above 13 bits"));
    } else if (sub == 2) {
      PartialClear();
    } else {
      throw EZipDataError(QStringLiteral("Shrunk data has an unknown escape %1").arg(sub));
    }
  }

  // Frees every code no other code builds on; the lowest freed one is filled
  // next. A freed slot keeps its string until it is filled again, because the
  // entry added right after the clear may still build on it.
  void PartialClear() {
    std::array<bool, kCodes> isPrefix{};
    for (unsigned c = kFirstFree; c < kCodes; ++c)
      if (FInUse[c]) isPrefix[FPrefix[c]] = true;
    for (unsigned c = kFirstFree; c < kCodes; ++c)
      if (!isPrefix[c]) FInUse[c] = false;
    FFree = kFirstFree;
    while (FFree < kCodes && FInUse[FFree]) ++FFree;
  }

  void AddEntry(unsigned Prefix, uint8_t Byte) {
    if (FFree >= kCodes) return;
    FPrefix[FFree] = uint16_t(Prefix);
    FSuffix[FFree] = Byte;
    FInUse[FFree] = true;
    do ++FFree;
    while (FFree < kCodes && FInUse[FFree]);
  }

  // Pushes the code's bytes, last first, and returns its first byte.
  uint8_t Spell(unsigned Code) {
    FStack.clear();
    while (Code >= 256) {
      if (FStack.size() == kCodes || FPrefix[Code] == kNever)
        throw EZipDataError(QStringLiteral("Shrunk data refers to a broken code chain"));
      FStack.push_back(FSuffix[Code]);
      Code = FPrefix[Code];
    }
    FStack.push_back(uint8_t(Code));
    return uint8_t(Code);
  }

  TLsbBitReader FBits;
  TDecodeWindow FOut;
  unsigned FCodeSize = 9;
  unsigned FFree = kFirstFree;
  std::array<uint16_t, kCodes> FPrefix{};
  std::array<uint8_t, kCodes> FSuffix{};
  std::array<bool, kCodes> FInUse{};
  std::vector<uint8_t> FStack;
};

}  // namespace

void Unshrink(TByteSource& Input, TByteSink& Output) {
  // About 60 KiB of tables and window: kept off the stack.
  auto decoder = std::make_unique<TUnshrinker>(Input, Output);
  decoder->Run();
}
