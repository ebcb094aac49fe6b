// Starts the built program as a user would, in a program folder of its own.
#include "platform/db/ADODB.h"
#include "platform/testing/TestPaths.h"
#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

TEST(ProgramStart, AFirstStartCreatesTheDatabaseAndShowsTheMainWindow) {
  const QString Program = qEnvironmentVariable("MOLI_PROGRAM");
  ASSERT_FALSE(Program.isEmpty());
  moli::testing::ScratchDir Folder;
  const QString Copy = Folder.File(QStringLiteral("moli-payroll"));
  ASSERT_TRUE(QFile::copy(Program, Copy));

  QProcess Run;
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
  Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  Environment.insert(QStringLiteral("MOLI_SCREENSHOT"), Folder.File(QStringLiteral("shot.png")));
  Run.setProcessEnvironment(Environment);
  Run.start(Copy, {});
  ASSERT_TRUE(Run.waitForFinished(60000)) << Run.readAllStandardError().toStdString();
  EXPECT_EQ(Run.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(Run.exitCode(), 0) << Run.readAllStandardError().toStdString();

  const QImage Shot(Folder.File(QStringLiteral("shot.png")));
  EXPECT_GT(Shot.width(), 600);
  EXPECT_GT(Shot.height(), 400);

  TADOConnection Connection;
  Connection.SetConnectionString(QStringLiteral("Data Source=") + Folder.File(QStringLiteral("db/VIRE.dat")));
  TADOQuery Query;
  Query.SetConnection(&Connection);
  Query.SQL()->SetText(QStringLiteral("select (select count(*) from sqlite_master where type='table' and "
                                      "name in ('TGZMonth','TGZ','TGZSet','TPara','TGSModel')) || '/' || "
                                      "(select count(*) from TPara) || '/' || "
                                      "(select count(*) from TGZSet where GZMonth='BASE')"));
  Query.Open();
  EXPECT_EQ(Query.Fields()->Fields(0)->AsString(), QStringLiteral("5/1/45"));
}

TEST(ProgramStart, AWriteBeyondTheFileSizeLimitFailsInsteadOfEndingTheProgram) {
  const QString Program = qEnvironmentVariable("MOLI_PROGRAM");
  ASSERT_FALSE(Program.isEmpty());
  moli::testing::ScratchDir Folder;
  const QString Copy = Folder.File(QStringLiteral("moli-payroll"));
  ASSERT_TRUE(QFile::copy(Program, Copy));
  QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
  Environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const auto Start = [&](const QString& Shot, bool Limited) {
    QProcess Run;
    Environment.insert(QStringLiteral("MOLI_SCREENSHOT"), Folder.File(Shot));
    Run.setProcessEnvironment(Environment);
    // The database is there from the first start; the second may write no
    // byte, so the screenshot is a write beyond the limit.
    if (Limited)
      Run.setChildProcessModifier([] {
        rlimit Limit{};
        ::getrlimit(RLIMIT_FSIZE, &Limit);
        Limit.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &Limit);
      });
    Run.start(Copy, {});
    EXPECT_TRUE(Run.waitForFinished(60000)) << Run.readAllStandardError().toStdString();
    return std::pair{Run.exitStatus(), Run.exitCode()};
  };
  ASSERT_EQ(Start(QStringLiteral("first.png"), false), std::pair(QProcess::NormalExit, 0));
  // The write fails rather than the signal ending the program.
  EXPECT_EQ(Start(QStringLiteral("second.png"), true).first, QProcess::NormalExit);
  EXPECT_TRUE(QImage(Folder.File(QStringLiteral("second.png"))).isNull());
}

}  // namespace
