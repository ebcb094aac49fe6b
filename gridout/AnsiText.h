#pragma once
// Text for Windows-era peers in the system's ANSI code page, which is code page 936 here.
#include "platform/rtl/SysUtils.h"
#include <QByteArray>

// Characters the code page lacks become '?', as the system's own conversion does.
QByteArray ToAnsiText(const String& Text);
// Appends ToAnsiText(Text) to Out, plain ASCII without a conversion.
void AppendAnsiText(QByteArray& Out, QStringView Text);
// True, with the bytes in Ansi, when every character of Text has a code page 936 form.
bool EncodesToAnsi(const String& Text, QByteArray& Ansi);
// Bytes that are not code page 936 are read as Latin-1.
String FromAnsiText(const QByteArray& Ansi);
// The byte length of the leading character of the code page 936 bytes at Data[Index]:
// 2 for a lead byte followed by another byte, else 1.
Integer AnsiCharLength(const QByteArray& Data, qsizetype Index);
