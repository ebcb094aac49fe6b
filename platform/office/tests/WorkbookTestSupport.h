#pragma once
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

// One part of an .xlsx (a zip archive) as Info-ZIP's unzip reads it.
inline QByteArray XlsxPart(const QString& Workbook, const QString& Part) {
  QProcess Unzip;
  Unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), Workbook, Part});
  EXPECT_TRUE(Unzip.waitForFinished(60000));
  EXPECT_EQ(Unzip.exitCode(), 0) << Part.toStdString();
  return Unzip.readAllStandardOutput();
}
