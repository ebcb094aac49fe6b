#include "MessageRecorder.h"
#include "ScratchPayrollDb.h"
#include "app/SkinChoice.h"
#include "skin/SkinData.h"
#include "skin/DefaultSkin.h"
#include <QDir>
#include <QFile>

namespace {

String U(const char* Text) { return QString::fromUtf8(Text); }

QByteArray FileBytes(const String& FileName) {
  QFile File(FileName);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

TEST(SkinChoice, AChosenSkinReplacesTheStartSkinOnlyWhenItBuilds) {
  TScratchPayrollDb Db;
  const String Rpt = Settings().GAppPath + QStringLiteral("RPT/");
  ASSERT_TRUE(QDir().mkpath(Rpt));
  const QByteArray Good = DefaultSkinPackage();
  const QByteArray Current = QByteArrayLiteral("the skin in use");
  AtomicWriteFile(Rpt + QStringLiteral("Skin.Skn"), Current);
  AtomicWriteFile(Rpt + QStringLiteral("Skin3.skn"), Good);
  AtomicWriteFile(Rpt + QStringLiteral("Skin4.skn"), Good.left(Good.size() / 2));  // a damaged copy

  TSkinData SkinData(nullptr);
  TMessageRecorder Messages;
  for (Integer Refused : {4, 5}) {  // damaged, missing
    ChooseSkin(Refused, &SkinData);
    ASSERT_EQ(Messages.Messages().size(), 1) << Refused;
    EXPECT_TRUE(Messages.Messages()[0].startsWith(U("复制文件发生错误！"))) << Refused;
    EXPECT_EQ(FileBytes(Rpt + QStringLiteral("Skin.Skn")), Current) << Refused;
    EXPECT_FALSE(SkinData.Active());
    Messages.Clear();
  }

  ChooseSkin(3, &SkinData);
  EXPECT_EQ(Messages.Messages(), QStringList{U("部分色彩重新启动本软件后生效！")});
  EXPECT_EQ(FileBytes(Rpt + QStringLiteral("Skin.Skn")), Good);
  EXPECT_EQ(SkinData.SkinFile(), Rpt + QStringLiteral("Skin.Skn"));
  EXPECT_FALSE(SkinData.SkinNotBuilt());
  EXPECT_TRUE(SkinData.Active());
  EXPECT_EQ(QDir(Rpt).entryList(QDir::Files).size(), 3);  // no temporary file left
}

}  // namespace
