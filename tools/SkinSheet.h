#pragma once
// A contact sheet for reviewing a skin: a window drawn with it, then every element's image
// with its frames marked.
#include <QByteArray>
#include <QImage>

// Builds the skin model from the package, so the sheet shows what the program will draw.
QImage DrawSkinSheet(const QByteArray& package);
