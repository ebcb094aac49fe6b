// Electronic pay slips of a month of 500 employees made from the program's
// template and mailed over one SMTP session, with the 300 ms pause between
// mails. One employee is addressed refused@example.com (the server refuses
// it), one has no "@" (skipped). Prints sent=, failed=, skipped=, progress=
// (status updates), seconds=, failed_address= per failure and the time per
// mail beyond the pauses (at most 100 ms).
//
// The server comes from the environment: MOLI_SMTP=host:port, MOLI_SMTP_USER,
// MOLI_SMTP_PASS, MOLI_SMTP_CAFILE; MOLI_BENCH_OUT keeps the slips (else a
// temporary folder). A loopback server with STARTTLS, AUTH LOGIN and the
// refusal:
//   /usr/bin/python3 platform/testing/smtp_peer.py --maildir /tmp/mails
//     --user payroll --password s3cret --refuse refused@example.com
// prints the port and the CA file to pass on.
#include "app/EleSlips.h"
#include "app/SlipMailing.h"
#include "app/uDM.h"
#include "platform/rtl/Files.h"
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

constexpr int EmployeeCount = 500;
const String Month = QStringLiteral("202401");

void FillMonth() {
  TADOConnection& Connection = *DM->ADOLocal;
  Connection.BeginTrans();
  for (int k = 1; k <= 15; ++k) {
    const bool Earning = k <= 12;
    const int Number = Earning ? k : k - 12;
    const String Field = (Earning ? QStringLiteral("GZ") : QStringLiteral("KK")) + QString::number(Number);
    const String Caption = (Earning ? QStringLiteral("应发项") : QStringLiteral("扣款项")) + QString::number(Number);
    Connection.ExecuteSql(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, CalcStr) "
                                         "values ('%1', '%2', '%3', %4, %5, 0, ' ')")
                              .arg(Month, Field, Caption)
                              .arg(Earning ? 0 : 1)
                              .arg(Number));
  }
  Connection.ExecuteSql(QStringLiteral("insert into TGZMonth (GZMonth) values ('%1')").arg(Month));
  for (int e = 0; e < EmployeeCount; ++e) {
    String Address = QStringLiteral("e%1@example.com").arg(e, 4, 10, QLatin1Char('0'));
    if (e == 7) Address = QStringLiteral("refused@example.com");
    if (e == 11) Address = QStringLiteral("no-address.example.com");
    QStringList Columns, Values;
    double Gross = 0, Deductions = 0;
    for (int k = 1; k <= 12; ++k) {
      Columns << QStringLiteral("GZ%1").arg(k);
      Values << QString::number(100 * k + e % 97);
      Gross += 100 * k + e % 97;
    }
    for (int k = 1; k <= 3; ++k) {
      Columns << QStringLiteral("KK%1").arg(k);
      Values << QString::number(50 * k);
      Deductions += 50 * k;
    }
    Connection.ExecuteSql(QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpCode, EmpName, ZWName, %1, YFTotal, "
                                         "KKTotal, GZTotal, QM, EMail) values ('%2', '部门%3', 'E%4', '职员%4', ' ', %5, "
                                         "%6, %7, %8, ' ', '%9')")
                              .arg(Columns.join(u','), Month)
                              .arg(e % 12)
                              .arg(e, 4, 10, QLatin1Char('0'))
                              .arg(Values.join(u','))
                              .arg(Gross)
                              .arg(Deductions)
                              .arg(Gross - Deductions)
                              .arg(Address));
  }
  Connection.CommitTrans();
}

String TemplateFile() {
  const String Given = qEnvironmentVariable("MOLI_SLIP_TEMPLATE");
  if (!Given.isEmpty()) return Given;
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../bin/RPT/GZBill20_5.xlsx"));
}

void BM_GenerateAndMailSlips(benchmark::State& State) {
  const QStringList Server = qEnvironmentVariable("MOLI_SMTP").split(u':');
  if (Server.size() != 2) {
    State.SkipWithError("MOLI_SMTP (host:port) is not set");
    return;
  }
  QTemporaryDir Scratch;
  String Folder = qEnvironmentVariable("MOLI_BENCH_OUT");
  if (Folder.isEmpty()) Folder = Scratch.path();
  QDir().mkpath(Folder);

  TSmtpSettings Smtp;
  Smtp.Host = Server[0];
  Smtp.Port = Server[1].toInt();
  Smtp.ImplicitTls = Smtp.Port == 465;
  Smtp.Username = qEnvironmentVariable("MOLI_SMTP_USER");
  Smtp.Password = qEnvironmentVariable("MOLI_SMTP_PASS");
  Smtp.Login = !Smtp.Username.isEmpty();
  Smtp.CaFile = qEnvironmentVariable("MOLI_SMTP_CAFILE");

  for (auto _ : State) {
    const TSlipTemplate Template(TemplateFile());
    TADODataSet Records(nullptr);
    Records.SetConnection(DM->ADOLocal);
    Records.SetCommandText(QStringLiteral("Select * from TGZ where GZMonth='%1' order by DepartName,EmpName").arg(Month));
    Records.Open();
    const TSlipRun Made = GenerateSlips(Template, &Records, Folder, Month, QStringLiteral("墨鲤科技"),
                                        ReadSlipItems(Month), true, nullptr);
    QList<TSlipRecipient> Recipients;
    Integer Number = 0;
    for (Records.First(); !Records.Eof(); Records.Next())
      Recipients << TSlipRecipient{++Number, Records.FieldByName(QStringLiteral("EmpName"))->AsString(),
                                   Records.FieldByName(QStringLiteral("EMail"))->AsString()};

    TSlipMailer Mailer;
    Integer Progress = 0, Pauses = 0;
    Mailer.OnStatus = [&](const String&) { ++Progress; };
    Mailer.Pause = [&](Cardinal Milliseconds) {
      ++Pauses;
      QThread::msleep(Milliseconds);
    };
    QElapsedTimer Clock;
    Clock.start();
    TSmtpSession Session(Smtp);
    Session.Connect();
    const TSlipMailRun Run =
        Mailer.Send(Session, Recipients, Folder, {QStringLiteral("hr@example.com"), QStringLiteral("2024年1月工资条"),
                                                  {QStringLiteral("您好："), QStringLiteral("附件是您本月的工资条。")}});
    Session.Disconnect();
    const double Seconds = double(Clock.nsecsElapsed()) / 1e9;
    const double Beyond = (Seconds - Pauses * SlipMailPause / 1000.0) * 1000.0 / std::max(Progress, 1);
    std::printf("slips=%d slip_failures=%lld\n", Made.Made, static_cast<long long>(Made.Failures.size()));
    std::printf("sent=%d\nfailed=%lld\nskipped=%lld\nprogress=%d\nseconds=%.2f\n", Run.Sent,
                static_cast<long long>(Run.Failed.size()), static_cast<long long>(Run.Skipped.size()), Progress, Seconds);
    for (const TSlipMailFailure& Failure : Run.Failed)
      std::printf("failed_address=%s (%s)\n", Failure.Address.toUtf8().constData(), Failure.Reason.toUtf8().constData());
    std::printf("ms_per_mail_beyond_pauses=%.1f (must be <= 100)\n", Beyond);
    for (const String& Missing : Run.MissingSlips) std::printf("missing_slip=%s\n", Missing.toUtf8().constData());
    State.counters["sent"] = Run.Sent;
  }
}

BENCHMARK(BM_GenerateAndMailSlips)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication Application(argc, argv);
  QTemporaryDir Folder;
  SetProgramFolder(Folder.path() + u'/');
  TDM Module;
  DM = &Module;
  FillMonth();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  DM = nullptr;
  return 0;
}
