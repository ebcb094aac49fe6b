#include "app/AppSettings.h"
#include "app/uDM.h"
#include "app/uPub.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/IniFiles.h"

void ReadyPara() {
  const TIniFile Ini(ResolvePath(GAppPath, QStringLiteral("IIS.INI")));
  const String Section = QStringLiteral("Last");
  GVendorName = Ini.ReadString(Section, QStringLiteral("EntName"), QStringLiteral("墨鲤软件"));
  GVendorHomePage = Ini.ReadString(Section, QStringLiteral("HomePage"), QStringLiteral("https://www.example.com/moli/"));
  GBrand = Ini.ReadString(Section, QStringLiteral("Brand"), QStringLiteral("墨鲤"));
}

bool LoadRegPara() {
  TDataSet* Para = DM->dsPara;
  if (!Para->Active()) {
    try {
      Para->Open();
    } catch (const Exception&) {
      return false;
    }
  }
  const auto Field = [Para](const char* Name) { return Para->FieldByName(QLatin1String(Name)); };
  try {
    GGSLimit = Field("GSLimit")->AsInteger();
    GJJUnit = Field("JJUnit")->AsString();
    GPrintDays = Field("PrintDays")->AsInteger();
    GShowFloat = Field("ShowFloat")->AsInteger();
    GPrintOrientation = Field("PrintOrientation")->AsInteger();
    GTopPos = Field("TopPos")->AsInteger();
    GEntName = Field("EntName")->AsString();
    GLogPass = Field("LogPass")->AsString();
    GShowXH = Field("ShowXH")->AsInteger();
    GPageWidth = Field("PageWidth")->AsFloat();
    GNameOnTitle = Field("NameOnTitle")->AsInteger();
  } catch (const Exception&) {
  }
  if (GLogPass == QLatin1String("729")) GLogPass.clear();
  return true;
}
