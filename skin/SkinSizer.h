#pragma once
// Size boxes: bare size-grip windows on a skinned form (no control of the layer stands for
// them), shown as a square of the skin's face colour.
#include <QObject>
#include <QPointer>

class QWidget;
class TSkinForm;

class TSkinSizer : public QObject {
public:
  TSkinSizer(QWidget* Window, TSkinForm* Form);
  // The window draws itself again.
  ~TSkinSizer() override;
  QWidget* Window() const { return FWindow; }
  // Repaints with the current skin.
  void SkinChanged();

protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
  QPointer<QWidget> FWindow;
  TSkinForm* FForm;
};

// Whether Window is a size box a skinned form hands to a TSkinSizer: a size grip that is no
// tab stop.
bool IsSizeBox(const QWidget* Window);
