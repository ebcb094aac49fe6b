#pragma once
// Text for Windows-era peers in the system's ANSI code page, which is code page 936 here.
#include "gridout/ByteBuffer.h"
#include "platform/rtl/SysUtils.h"
#include <QByteArray>
#include <string_view>

// Characters the code page lacks become '?', as the system's own conversion does.
QByteArray ToAnsiText(const String& Text);
// Appends ToAnsiText(Text) to Out, character by character unless the text holds surrogates.
void AppendAnsiText(TByteBuffer& Out, QStringView Text);
// Appends ToAnsiText of UTF-8 text to Out, decoding it on the way; text with characters
// beyond the basic plane or with bytes that are not UTF-8 takes the way through a string.
void AppendAnsiUtf8(TByteBuffer& Out, std::string_view Utf8);
// True, with the bytes in Ansi, when every character of Text has a code page 936 form.
bool EncodesToAnsi(const String& Text, QByteArray& Ansi);
// Bytes that are not code page 936 are read as Latin-1.
String FromAnsiText(const QByteArray& Ansi);
