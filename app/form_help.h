#pragma once
// The help window: the maker's emblem, a link to the maker's web site and a button that
// closes it. Not modal: the main window and any run go on while it is open.

#include <QWidget>

class QLabel;
class QPushButton;

namespace zorvan::app {

class Desktop;
class TsWebLabel;

class TFormHelp : public QWidget {
  Q_OBJECT

 public:
  explicit TFormHelp(Desktop& desktop, QWidget* parent = nullptr);

  // Makes the window visible and brings it to the front; a window already showing only
  // comes to the front.
  void ShowForm();
  // Hides the window; it can be shown again.
  void CloseForm();

  // The handlers.
  void FormKeyDown(uint16_t& Key, Qt::KeyboardModifiers Shift);
  void Button1Click();
  void sWebLabel1Click();

 private:
  Desktop& desktop_;
  QLabel* Image_Emblem = nullptr;
  TsWebLabel* sWebLabel1 = nullptr;
  QPushButton* Button1 = nullptr;
};

}  // namespace zorvan::app
