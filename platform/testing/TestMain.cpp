#include <QApplication>
#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // A suite run again under another locale must really run under it, not fall back to "C".
  const QByteArray locale = qgetenv("MOLI_TEST_LOCALE");
  if (!locale.isEmpty() && !std::setlocale(LC_ALL, locale.constData())) {
    std::fprintf(stderr, "the locale %s is not available\n", locale.constData());
    return 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
