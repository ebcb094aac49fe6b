// Rich text comes from the clipboard and from stored texts of other programs: any bytes
// must read into a document or end with the reader's error, and what was read must write.
#include "platform/ui/RichTextFormat.h"
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  static const QFont font(QStringLiteral("DejaVu Sans"), 10);
  QTextDocument document;
  try {
    ReadRichText(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), &document, font);
  } catch (const Exception&) {
    return 0;
  }
  WriteRichText(&document, font);
  return 0;
}
