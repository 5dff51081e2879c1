// The floor for the start-up measure: the least a Qt Widgets program does to
// put a window with a menu bar on the screen.

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("floor"));
  window.menuBar()->addAction(QStringLiteral("menu"));
  window.resize(504, 297);
  window.show();
  return application.exec();
}
