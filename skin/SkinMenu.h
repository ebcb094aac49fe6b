#pragma once
// Skinned menus. A popup menu (a Qt menu: a popup menu's or a drop-down of the menu bar) gets
// its frame and background from the skin's MenuBackground element and its items from the
// MenuItem element; the form's menu bar is drawn from the MenuBar element with its captions.
// Qt keeps laying out the items, tracking the mouse and the keyboard (Left and Right move
// between the bar's drop-downs, wrapping round; Alt+letter opens by accelerator), so what is
// hit is always what is drawn.
#include "platform/ui/Menus.h"
#include "skin/SkinModel.h"
#include <QMenuBar>
#include <QObject>
#include <QPointer>

class QMenu;
class TSkinData;
class TSkinForm;

class TSkinPopMenu : public QObject {
public:
  // Watches Menu (and goes with it); the manager's main skin component gives the model.
  explicit TSkinPopMenu(QMenu* Menu);
  // The skinned look: background and items at the menu's size; false when the skin has no
  // menu background, the component is not active or the manager is switched off.
  bool Paint(TBitmap& Work) const;
  // The menu Menu is watched by a popup painter already.
  static bool IsSkinned(const QMenu* Menu);

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  QMenu* FMenu;
};

class TSkinMenuBar : public QObject {
public:
  TSkinMenuBar(QMenuBar* Bar, TSkinForm* Form);
  ~TSkinMenuBar() override;
  bool Paint(TBitmap& Work) const;
  QMenuBar* Bar() const { return FBar; }

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  QPointer<QMenuBar> FBar;
  TSkinForm* FForm;
};

// Hides the separators among Item's sub-items that stand first, last or right after another
// separator, and shows again the last separator of each run between visible items.
void TidySeparators(TMenuItem* Item);
