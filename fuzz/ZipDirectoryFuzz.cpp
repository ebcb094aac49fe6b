// Arbitrary bytes as an archive: the directory reader (from the end record,
// and rebuilt from local headers) and extraction must raise or succeed,
// never touch memory out of bounds or write outside the target folder.
#include "zip/ZipReader.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static QTemporaryDir scratch;
  const QString archive = scratch.filePath("input.zip");
  const QString dest = scratch.filePath("out");
  {
    QFile file(archive);
    if (!file.open(QIODevice::WriteOnly)) return 0;
    file.write(reinterpret_cast<const char*>(Data), qint64(Size));
  }
  for (TIncompleteZipMode mode : {izAssumeMulti, izAssumeBad}) {
    TZipReader reader;
    reader.SetDoProcessMessages(false);
    reader.SetIncompleteZipMode(mode);
    reader.SetZipName(archive);
    reader.SetDoAll(true);
    reader.SetRecreateDirs(true);
    reader.SetOverwriteMode(TUZOverwriteMode::Always);
    reader.SetDestDir(dest);
    try {
      reader.ReadZip();
      for (Integer i = 0; i < reader.Count(); ++i) {
        reader.Filename(i);
        reader.DateTime(i);
        reader.FileComment(i);
      }
      reader.ZipComment();
      reader.ExtractFiles();
    } catch (const Exception&) {
    }
    QDir(dest).removeRecursively();
  }
  return 0;
}
