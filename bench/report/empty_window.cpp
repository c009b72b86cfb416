// The least a Qt Widgets program does before its first window is seen.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Empty window"));
  window.resize(640, 480);
  window.show();
  return application.exec();
}
