#pragma once
// The five skins this program ships: a palette and a way of drawing faces each.
#include <QColor>
#include <QString>
#include <vector>

enum class TFaceLook {
  Glossy,  // two-tone gradient with a light upper half, rounded corners
  Flat,    // plain fills with thin outlines, square corners
  Bevel,   // raised and sunken 3-D edges
};

struct TSkinStyle {
  QString FileName;  // in the program's RPT folder
  QString SkinName;
  TFaceLook Look;
  int Radius;         // corner rounding of buttons and the window, 0 to 4 pixels
  int CaptionHeight;  // height of the caption bar
  QColor Face;        // forms and panels
  QColor Window;      // edit and list backgrounds
  QColor Text;
  QColor Light;
  QColor Shadow;
  QColor DkShadow;
  QColor ButtonFace;
  QColor ButtonText;
  QColor CaptionTop, CaptionBottom;          // active caption gradient
  QColor InactiveTop, InactiveBottom;        // inactive caption gradient
  QColor CaptionText, CaptionTextInactive;
  QColor Frame;                              // window border outside the caption
  QColor Accent;                             // selection, focus, progress
  QColor AccentText;
  QColor Menu, MenuText;
};

const std::vector<TSkinStyle>& SkinStyles();
