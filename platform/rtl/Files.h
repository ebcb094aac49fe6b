#pragma once
// The program folder, case-insensitive path lookup and atomic file replacement.
#include "platform/rtl/SysUtils.h"
#include <QByteArray>

// The executable's folder with a trailing '/'.
String ProgramFolder();
// Replaces the program folder (tests point it at a scratch folder); an empty value restores the real one.
void SetProgramFolder(const String& Folder);

// Base joined with Relative, where each folder and file name of Relative is matched
// without case against what is on disk ("db/VIRE.dat" finds "DB/vire.dat"). '\' and
// '/' both separate names. Names not found on disk are kept as written, so the
// result also serves for files about to be created.
String ResolvePath(const String& Base, const String& Relative);

enum TFilePrivacy { fpShared, fpOwnerOnly };

// Replaces Path with Bytes so that readers see either the old or the new file, never a
// mix: the bytes go to a temporary file in the same folder, which is flushed to disk and
// renamed over Path. fpOwnerOnly creates the file with mode 0600 (secrets); otherwise an
// existing file keeps its mode. Raises EFCreateError or EWriteError and leaves the old file.
void AtomicWriteFile(const String& Path, const QByteArray& Bytes, TFilePrivacy Privacy = fpShared);
