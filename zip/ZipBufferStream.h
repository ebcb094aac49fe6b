#pragma once
// Buffered streams for the archive components: the record readers and the
// codecs make many small reads and writes, which these turn into block
// transfers on the wrapped stream.
#include "platform/rtl/Classes.h"
#include <memory>
#include <vector>

// One buffer that serves reading or writing, whichever the caller does last.
// Switching from reading to writing positions the wrapped stream at the
// logical position, so read-ahead bytes are neither written back nor lost.
class TS_BufferStream : public TStream {
public:
  TS_BufferStream(TStream* AStream, Integer BufferSize);
  ~TS_BufferStream() override;
  TS_BufferStream(const TS_BufferStream&) = delete;
  TS_BufferStream& operator=(const TS_BufferStream&) = delete;

  Integer Read(void* Buffer, Integer Count) override;
  // Stops early when the wrapped stream takes fewer bytes than a flush offers.
  Integer Write(const void* Buffer, Integer Count) override;
  // Seeking to the logical position keeps the buffer. soEnd counts back from
  // the larger of the wrapped size and the logical position, whatever the
  // offset's sign. Raises Exception "Seek error" when pending bytes cannot be written.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Steps back over the byte just read, storing Value there; raises
  // EStreamError "Putback overflow" at the start of the buffer.
  void PutBack(Byte Value);
  // Writes out pending bytes; false when the wrapped stream took fewer.
  bool FlushBuffer();

protected:
  // Pending bytes are written; a failure here goes unreported because a
  // destructor cannot raise. Owners flush explicitly to learn about it.
  void Release();
  bool Written() const { return FWritten; }

private:
  enum TMode { bmIdle, bmReading, bmWriting };
  bool FillBuffer();

  TStream* FStream;
  std::vector<uint8_t> FBuffer;
  size_t FCursor = 0;
  size_t FEnd = 0;
  TMode FMode = bmIdle;
  bool FWritten = false;
};

// The buffered stream over a file it opens by name and owns. With
// FlushOnClose and a writable mode, closing also forces the file's data to disk.
class TLFNFileStream : public TS_BufferStream {
public:
  TLFNFileStream(const String& FileName, Integer BufferSize, bool FlushOnClose, Word Mode);
  ~TLFNFileStream() override;
  const String& FileName() const { return FFileName; }

private:
  TLFNFileStream(std::unique_ptr<TFileStream> File, const String& FileName, Integer BufferSize, bool FlushToDisk);
  std::unique_ptr<TFileStream> FFile;
  String FFileName;
  bool FFlushToDisk;
};
