#include "skin/SkinSizer.h"
#include "platform/ui/Graphics.h"
#include "skin/SkinData.h"
#include "skin/SkinForm.h"
#include <QEvent>
#include <QPainter>
#include <QSizeGrip>

bool IsSizeBox(const QWidget* Window) {
  return qobject_cast<const QSizeGrip*>(Window) && !(Window->focusPolicy() & Qt::TabFocus);
}

TSkinSizer::TSkinSizer(QWidget* Window, TSkinForm* Form) : FWindow(Window), FForm(Form) {
  FWindow->installEventFilter(this);
  FWindow->update();
}

TSkinSizer::~TSkinSizer() {
  if (!FWindow) return;
  FWindow->removeEventFilter(this);
  FWindow->update();
}

void TSkinSizer::SkinChanged() {
  if (FWindow) FWindow->update();
}

bool TSkinSizer::eventFilter(QObject* Watched, QEvent* Event) {
  if (Watched != FWindow || Event->type() != QEvent::Paint) return false;
  TSkinData* data = FForm->SkinData();
  if (!data || data->SkinNotBuilt()) return false;
  // The face colour covers the whole box, so what the grip would draw first never shows.
  QPainter p(FWindow);
  p.fillRect(FWindow->rect(), ColorToQColor(data->Model().ButtonFace));
  return true;
}
