#include "platform/rtl/Encodings.h"
#include "platform/ui/Clipbrd.h"
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <gtest/gtest.h>

TEST(Clipboard, TextAndTheThreeRegisteredFormatsGoOnTogetherAndComeBack) {
  const Word csv = RegisterClipboardFormat(QStringLiteral("Csv"));
  const Word rtf = RegisterClipboardFormat(QStringLiteral("Rich Text Format"));
  const Word gridbif = RegisterClipboardFormat(QStringLiteral("GRIDBIF"));
  EXPECT_EQ(RegisterClipboardFormat(QStringLiteral("gridbif")), gridbif);
  EXPECT_NE(csv, rtf);

  const String text = QStringLiteral("姓名\t实发\r\n张三\t1200.50\r\n");
  const QByteArray ansi = StringToGbk(text) + '\0';
  const QByteArray unicode = StringToUtf16LE(text) + QByteArray(2, '\0');
  const QByteArray binary("GBIF\x00\x01\xFF\x00tail", 12);
  TClipboard* c = Clipboard();
  c->Open();
  c->SetAsBytes(CF_TEXT, ansi);
  c->SetAsBytes(CF_UNICODETEXT, unicode);
  const QByteArray csvAnsi = StringToGbk(QStringLiteral("\"姓名\";\"实发\"\r\n")) + '\0';
  c->SetAsBytes(csv, csvAnsi);
  c->SetAsBytes(rtf, QByteArray("{\\rtf1\\ansi\\ansicpg936 x}") + '\0');
  c->SetAsBytes(gridbif, binary);
  c->Close();

  for (Word f : {CF_TEXT, CF_UNICODETEXT, csv, rtf, gridbif}) EXPECT_TRUE(c->HasFormat(f)) << f;
  EXPECT_EQ(c->GetAsBytes(CF_TEXT), ansi);
  EXPECT_EQ(c->GetAsBytes(CF_UNICODETEXT), unicode);
  EXPECT_EQ(c->GetAsBytes(gridbif), binary);
  EXPECT_EQ(c->GetAsBytes(csv), csvAnsi);
  // Other programs read CSV and RTF as UTF-8 text without the terminator.
  const QMimeData* shared = QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(shared->data(QStringLiteral("text/csv")), QStringLiteral("\"姓名\";\"实发\"\r\n").toUtf8());
  EXPECT_EQ(shared->data(QStringLiteral("text/rtf")), QByteArray("{\\rtf1\\ansi\\ansicpg936 x}"));
  EXPECT_EQ(c->AsText(), text);

  // Setting outside Open replaces everything that was there.
  c->SetAsText(QStringLiteral("只有文本"));
  EXPECT_FALSE(c->HasFormat(gridbif));
  EXPECT_TRUE(c->HasFormat(CF_UNICODETEXT));
  EXPECT_EQ(c->GetAsBytes(CF_TEXT), StringToGbk(QStringLiteral("只有文本")) + '\0');
  EXPECT_EQ(c->GetAsBytes(CF_UNICODETEXT), StringToUtf16LE(QStringLiteral("只有文本")) + QByteArray(2, '\0'));

  c->Clear();
  EXPECT_FALSE(c->HasFormat(CF_TEXT));
  EXPECT_TRUE(c->GetAsBytes(csv).isEmpty());
}
