#pragma once

#include <QWidget>

class QLabel;

// "About KxC2Map": modeless, created once and shown again on each About.
class TForm3 : public QWidget {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);

  // Shows the window, or brings the open one to the front.
  void showAbout();

  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};
