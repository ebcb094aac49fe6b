#include <QApplication>
#include <QMainWindow>
#include <QTimer>

// Until the main window of the program exists, start-up shows an empty main
// window with the application title. With MOLI_SCREENSHOT set, the window is
// saved to that file once shown and the program ends.
int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QString title = QString::fromUtf8("墨鲤工资条打印软件");
  QApplication::setApplicationName(title);
  QMainWindow window;
  window.setWindowTitle(title);
  window.resize(1024, 700);
  window.show();
  const QString screenshot = qEnvironmentVariable("MOLI_SCREENSHOT");
  if (!screenshot.isEmpty()) {
    QTimer::singleShot(500, &window, [&window, screenshot] {
      const bool saved = window.grab().save(screenshot);
      QApplication::exit(saved ? 0 : 1);
    });
  }
  return application.exec();
}
