#include "app/uPub.h"
#include "app/AppMessages.h"
#include "platform/rtl/Clock.h"
#include "platform/testing/TestPaths.h"
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

void WriteFile(const String& Path, const QByteArray& Bytes) {
  QFile File(Path);
  ASSERT_TRUE(File.open(QIODevice::WriteOnly)) << Path.toStdString();
  File.write(Bytes);
}

TEST(Pub, NormalizesAmountTexts) {
  struct Case { const char* text; const char* expected; };
  for (const Case& c : std::initializer_list<Case>{{"1 2 . 5", "12.5"}, {" 12. ", "12"}, {".", "0.0"},
                                                   {".0", "0.0"}, {"", "0"}, {"   ", "0"}, {"-3.25", "-3.25"}})
    EXPECT_EQ(NormalizeNumText(U(c.text)), U(c.expected)) << c.text;
}

TEST(Pub, PadsCountsAndFindsTexts) {
  EXPECT_EQ(PadLeftZeros(QStringLiteral("7"), 4), QStringLiteral("0007"));
  EXPECT_EQ(PadLeftZeros(QStringLiteral("12345"), 4), QStringLiteral("12345"));
  EXPECT_EQ(CountSubStr(QStringLiteral("aa"), QStringLiteral("aaaa")), 2);
  EXPECT_EQ(CountSubStr(QStringLiteral("ab"), QStringLiteral("xabyabab")), 3);
  EXPECT_EQ(CountSubStr(QString(), QStringLiteral("abc")), 0);

  EXPECT_EQ(PadRight(QString(), 7), QStringLiteral("       "));
  EXPECT_EQ(PadRight(U("合计"), 4), U("合计"));
  EXPECT_EQ(PadRight(U("合计"), 7), U("合计   "));
  EXPECT_EQ(PadRight(QStringLiteral("abcdef"), 3), QStringLiteral("abcdef"));

  TStringList List;
  for (const char* s : {"Apple", "apple pie", "banana"}) List.Add(U(s));
  EXPECT_EQ(FindStringIndex(&List, QStringLiteral("apple"), false), -1);  // case-sensitive
  EXPECT_EQ(FindStringIndex(&List, QStringLiteral("apple"), true), 1);
  EXPECT_EQ(FindStringIndex(&List, QStringLiteral("banana"), false), 2);
  EXPECT_EQ(FindStringIndex(&List, QStringLiteral("ban"), false), -1);
}

TEST(Pub, ChecksEmailAddressesForPlausibility) {
  struct Case { const char* text; bool expected; };
  for (const Case& c : std::initializer_list<Case>{{"a@b.c", true},          {"wang@corp.com.cn", true},
                                                   {"@b.c", false},          {"ab.c", false},
                                                   {"a@b.", false},          {"a@bc", false},
                                                   {"li.ming@corp.com", true}, {"", false},
                                                   {"li.ming@corp", false},  {"a@b.c.", true},
                                                   {"a@.", false}})
    EXPECT_EQ(IsEmailAddress(U(c.text)), c.expected) << c.text;
}

TEST(Pub, ClearFolderEmptiesTheTreeButKeepsItsFolders) {
  moli::testing::ScratchDir Dir;
  ASSERT_TRUE(QDir(Dir.Path()).mkpath(QStringLiteral("sub/deeper")));
  ASSERT_TRUE(QDir(Dir.Path()).mkpath(QStringLiteral("outside")));
  WriteFile(Dir.File(QStringLiteral("a.txt")), "a");
  WriteFile(Dir.File(QStringLiteral(".hidden")), "h");
  WriteFile(Dir.File(QStringLiteral("sub/b.dat")), "b");
  WriteFile(Dir.File(QStringLiteral("sub/deeper/c.dat")), "c");
  QFile::setPermissions(Dir.File(QStringLiteral("sub/b.dat")), QFile::ReadOwner);
  WriteFile(Dir.File(QStringLiteral("outside/keep.txt")), "k");
  ASSERT_TRUE(QDir(Dir.Path()).mkpath(QStringLiteral("target")));
  WriteFile(Dir.File(QStringLiteral("target/x.txt")), "x");
  // A link to a folder elsewhere is not followed.
  ASSERT_TRUE(QFile::link(Dir.File(QStringLiteral("outside")), Dir.File(QStringLiteral("target/link"))));

  ClearFolder(Dir.File(QStringLiteral("target/")));
  EXPECT_FALSE(QFile::exists(Dir.File(QStringLiteral("target/x.txt"))));
  EXPECT_TRUE(QFile::exists(Dir.File(QStringLiteral("outside/keep.txt"))));

  ClearFolder(Dir.Path() + u'/');
  QDirIterator Left(Dir.Path(), QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
  EXPECT_FALSE(Left.hasNext()) << Left.next().toStdString();
  EXPECT_TRUE(QDir(Dir.File(QStringLiteral("sub/deeper"))).exists());
}

TEST(Pub, CopyFileByStreamCopiesEveryByteAndReportsFailures) {
  moli::testing::ScratchDir Dir;
  QByteArray Bytes(70000, '\0');
  for (int i = 0; i < Bytes.size(); ++i) Bytes[i] = char(i * 7);
  WriteFile(Dir.File(QStringLiteral("src.bin")), Bytes);
  WriteFile(Dir.File(QStringLiteral("dst.bin")), QByteArray(100000, 'x'));
  CopyFileByStream(Dir.File(QStringLiteral("src.bin")), Dir.File(QStringLiteral("dst.bin")));
  QFile Copy(Dir.File(QStringLiteral("dst.bin")));
  ASSERT_TRUE(Copy.open(QIODevice::ReadOnly));
  EXPECT_EQ(Copy.readAll(), Bytes);
  EXPECT_THROW(CopyFileByStream(Dir.File(QStringLiteral("missing")), Dir.File(QStringLiteral("x"))), EFOpenError);
}

TEST(Pub, DelayWithMessagesHandlesEventsUntilTheTimeIsUp) {
  TManualClock Clock;
  TClock::SetCurrent(&Clock);
  int Handled = 0;
  bool Waiting = true;
  // Each event stands for a click made during the wait; time moves with it.
  std::function<void()> Tick = [&] {
    ++Handled;
    Clock.Advance(100);
    if (Waiting) QTimer::singleShot(0, Tick);
  };
  QTimer::singleShot(0, Tick);
  DelayWithMessages(300);
  Waiting = false;
  const Cardinal Elapsed = GetTickCount();
  QCoreApplication::processEvents();
  TClock::SetCurrent(nullptr);
  // Exactly 300 ms is not yet "more than" 300.
  EXPECT_EQ(Elapsed, 400u);
  EXPECT_GE(Handled, 4);
}

class UrlCatcher : public QObject {
  Q_OBJECT
public:
  QList<QUrl> Urls;
public Q_SLOTS:
  void Open(const QUrl& Url) { Urls << Url; }
};

TEST(Pub, OpensPagesAndDocumentsWithTheDesktopHandler) {
  UrlCatcher Catcher;
  QDesktopServices::setUrlHandler(QStringLiteral("file"), &Catcher, "Open");
  QDesktopServices::setUrlHandler(QStringLiteral("https"), &Catcher, "Open");
  OpenUrlInBrowser(QStringLiteral("https://example.org/help"));
  OpenUrlInBrowser(QStringLiteral("/opt/prog/Help/Tessaly.htm"));
  ShellOpen(QStringLiteral("/opt/prog/DB/tmp.xls"), QString());
  QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
  QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  ASSERT_EQ(Catcher.Urls.size(), 3);
  EXPECT_EQ(Catcher.Urls[0], QUrl(QStringLiteral("https://example.org/help")));
  EXPECT_EQ(Catcher.Urls[1], QUrl::fromLocalFile(QStringLiteral("/opt/prog/Help/Tessaly.htm")));
  EXPECT_EQ(Catcher.Urls[2], QUrl::fromLocalFile(QStringLiteral("/opt/prog/DB/tmp.xls")));
}

TEST(Pub, APageNoProgramCanOpenIsReportedPlainly) {
  QStringList Shown;
  const TShowMessageProc Previous = SetShowMessageProc([&Shown](const String& Text) { Shown << Text; });
  // The offscreen desktop has no program for any page.
  OpenUrlInBrowser(QStringLiteral("/opt/prog/Help/Tessaly.htm"));
  SetShowMessageProc(Previous);
  ASSERT_EQ(Shown.size(), 1);
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("/opt/prog/Help/Tessaly.htm"))) << Shown[0].toStdString();
  EXPECT_TRUE(Shown[0].contains(QStringLiteral("没有可以打开"))) << Shown[0].toStdString();
}

}  // namespace

#include "PubTests.moc"
