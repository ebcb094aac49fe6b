#pragma once
// The payroll data of an office for the benchmarks: 24 months of 500 employees
// (or as many as asked), 12 earnings and 3 deductions in use as the default items.
#include "platform/db/ADODB.h"
#include <QStringList>

constexpr int BenchMonthCount = 24;
constexpr int BenchEmployeeCount = 500;

inline void FillPayrollDatabase(TADOConnection& Connection, int EmployeeCount = BenchEmployeeCount) {
  QStringList Columns;
  for (int k = 1; k <= 30; ++k) Columns << QStringLiteral("GZ%1").arg(k);
  for (int k = 1; k <= 15; ++k) Columns << QStringLiteral("KK%1").arg(k);
  Connection.BeginTrans();
  for (int k = 1; k <= 15; ++k) {
    const bool Earning = k <= 12;
    const QString Number = QString::number(Earning ? k : k - 12);
    Connection.ExecuteSql(QStringLiteral("insert into TGZSet (GZMonth, GZField1, GZName, GZType, SortIdx, ShowStu, "
                                         "CalcStr) values ('BASE', '%1', '%2', %3, %4, 0, ' ')")
                              .arg((Earning ? QStringLiteral("GZ") : QStringLiteral("KK")) + Number,
                                   (Earning ? QStringLiteral("应发项") : QStringLiteral("扣款项")) + Number,
                                   Earning ? QStringLiteral("0") : QStringLiteral("1"), Number));
  }
  for (int m = 0; m < BenchMonthCount; ++m) {
    const QString Month = QStringLiteral("%1%2").arg(2023 + m / 12).arg(m % 12 + 1, 2, 10, QLatin1Char('0'));
    Connection.ExecuteSql(QStringLiteral("insert into TGZMonth (GZMonth) values ('%1')").arg(Month));
    for (int e = 0; e < EmployeeCount; ++e) {
      QStringList Amounts;
      double Gross = 0, Deductions = 0;
      for (int k = 1; k <= 30; ++k) {
        const double Value = k <= 12 ? 100.0 * k + e % 97 + 0.25 * (m % 4) : 0;
        Gross += Value;
        Amounts << QString::number(Value, 'f', 2);
      }
      for (int k = 1; k <= 15; ++k) {
        const double Value = k <= 3 ? 50.0 * k + e % 13 : 0;
        Deductions += Value;
        Amounts << QString::number(Value, 'f', 2);
      }
      Connection.ExecuteSql(
          QStringLiteral("insert into TGZ (GZMonth, DepartName, EmpCode, EmpName, ZWName, WorkDays, OneDayMOney, %1, "
                         "YFTotal, KKTotal, GZTotal, QM, MobileCode, BankNo, EMail, LOGTime, SelectStu) values "
                         "('%2', '部门%3', 'E%4', '职员%4', '职员', 22, 200, %5, %6, %7, %8, ' ', '1380000%4', "
                         "'6222%4', 'e%4@example.com', 45306.5, 0)")
              .arg(Columns.join(u','), Month)
              .arg(e % 12)
              .arg(e, 4, 10, QLatin1Char('0'))
              .arg(Amounts.join(u','))
              .arg(Gross, 0, 'f', 2)
              .arg(Deductions, 0, 'f', 2)
              .arg(Gross - Deductions, 0, 'f', 2));
    }
  }
  Connection.CommitTrans();
}
