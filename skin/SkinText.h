#pragma once
// Text rules shared by the skin package reader and the skin ini reader.
#include "platform/rtl/Types.h"
#include <QByteArray>

// Skin texts are UTF-8 when they are valid UTF-8, else legacy GBK.
String SkinTextFromBytes(const QByteArray& bytes);
// Lower-cases the letters A to Z only, as names inside skins are compared.
String AsciiLowerCase(const String& text);
// Strips every character up to and including the space from both ends.
String SkinTrim(const String& text);
