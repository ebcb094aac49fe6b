#include "app/RecordColumns.h"
#include "platform/db/DB.h"

const std::vector<TRecordColumn>& RecordColumns() {
  static const std::vector<TRecordColumn> Columns = [] {
    const auto S = [](const char* Text) { return QString::fromUtf8(Text); };
    std::vector<TRecordColumn> List{{S("ID"), S("ID"), false, 40},          {S("SortIdx"), S("序号"), true, 36},
                                    {S("GZMonth"), S("月度"), true, 60},      {S("DepartName"), S("部门"), true, 80},
                                    {S("EmpCode"), S("职员编码"), true, 70}, {S("EmpName"), S("姓名"), true, 60},
                                    {S("ZWName"), S("职务"), true, 60},       {S("WorkDays"), S("出勤天数"), true, 60},
                                    {S("HourCount"), S("出勤小时"), false, 60}, {S("OneDayMOney"), S("工资标准"), true, 60}};
    // Item columns are as wide as the list printing restores them to.
    for (int n = 1; n <= 30; ++n) List.push_back({QStringLiteral("GZ%1").arg(n), S("应发工资|"), n <= 20, 52});
    List.push_back({S("YFTotal"), S("应发工资|合计"), true, 66});
    for (int n = 1; n <= 15; ++n) List.push_back({QStringLiteral("KK%1").arg(n), S("应扣/代扣工资|"), n <= 10, 52});
    List.insert(List.end(), {{S("KKTotal"), S("应扣/代扣工资|合计"), true, 66},
                             {S("GZTotal"), S("实发工资"), true, 66},
                             {S("QM"), S("签名/备注"), true, 80},
                             {S("MobileCode"), S("手机号"), true, 90},
                             {S("BankNo"), S("银行帐号"), true, 120},
                             {S("EMail"), S("电子邮件地址"), true, 140},
                             {S("LOGTime"), S("登记时间"), true, 100}});
    return List;
  }();
  return Columns;
}

QStringList RecordCopyFields() {
  QStringList Fields;
  for (size_t i = 2; i < RecordColumns().size(); ++i) Fields << RecordColumns()[i].FieldName;
  return Fields;
}

QStringList MonthCopyFields() {
  QStringList Fields = RecordCopyFields();
  Fields.removeAll(QStringLiteral("GZMonth"));
  Fields.removeAll(QStringLiteral("LOGTime"));
  return Fields;
}

void CopyRecordFields(TDataSet* Source, TDataSet* Target, const QStringList& Fields) {
  for (const String& Name : Fields) Target->FieldByName(Name)->SetValue(Source->FieldByName(Name)->Value());
  TField* Title = Target->FieldByName(QStringLiteral("ZWName"));
  if (Title->AsString().isEmpty()) Title->SetAsString(QStringLiteral(" "));
}
