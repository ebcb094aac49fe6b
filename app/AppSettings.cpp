#include "app/AppSettings.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"

void ReadyPara() {
  TPubSettings& S = Settings();
  const TIniFile Ini(ResolvePath(S.GAppPath, QStringLiteral("IIS.INI")));
  const String Section = QStringLiteral("Last");
  S.GVendorName = Ini.ReadString(Section, QStringLiteral("EntName"), QStringLiteral("墨鲤软件"));
  S.GVendorHomePage = Ini.ReadString(Section, QStringLiteral("HomePage"), QStringLiteral("https://www.example.com/moli/"));
  S.GBrand = Ini.ReadString(Section, QStringLiteral("Brand"), QStringLiteral("墨鲤"));
}

bool LoadRegPara() {
  TDataSet* Para = DM->dsPara;
  TPubSettings& S = DM->Settings;
  if (!Para->Active()) {
    try {
      Para->Open();
    } catch (const Exception&) {
      return false;
    }
  }
  const auto Field = [Para](const char* Name) { return Para->FieldByName(QLatin1String(Name)); };
  try {
    S.GGSLimit = Field("GSLimit")->AsInteger();
    S.GJJUnit = Field("JJUnit")->AsString();
    S.GPrintDays = Field("PrintDays")->AsInteger();
    S.GShowFloat = Field("ShowFloat")->AsInteger();
    S.GPrintOrientation = Field("PrintOrientation")->AsInteger();
    S.GTopPos = Field("TopPos")->AsInteger();
    S.GEntName = Field("EntName")->AsString();
    S.GLogPass = Field("LogPass")->AsString();
    S.GShowXH = Field("ShowXH")->AsInteger();
    S.GPageWidth = Field("PageWidth")->AsFloat();
    S.GNameOnTitle = Field("NameOnTitle")->AsInteger();
  } catch (const Exception&) {
  }
  if (S.GLogPass == QLatin1String("729")) S.GLogPass.clear();
  return true;
}
