#pragma once
#include <QString>
#include <QTemporaryDir>

namespace moli::testing {

// The source tree's root, for fixtures kept beside the tests.
QString SourceDir();

// A fresh folder that is removed when the object goes; fails the test when it cannot be made.
class ScratchDir {
public:
  ScratchDir();
  QString Path() const { return FDir.path(); }
  QString File(const QString& name) const { return FDir.filePath(name); }
private:
  QTemporaryDir FDir;
};

}  // namespace moli::testing
