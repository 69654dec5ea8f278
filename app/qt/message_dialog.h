#pragma once
// The modal message box of the desktop: the application's title, the message with its
// lines kept whole, one OK button, and for errors the stop icon. It fades out before it
// goes, as the skin's windows do.

#include <QDialog>

class QLabel;
class QPushButton;

namespace zorvan::app {

class MessageDialog : public QDialog {
  Q_OBJECT

 public:
  MessageDialog(const QString& title, const QString& text, bool stop_icon);

  QString Text() const;
  bool HasStopIcon() const { return stop_icon_ != nullptr; }
  QPushButton* OkButton() const { return ok_; }

  void done(int result) override;

 private:
  QLabel* text_ = nullptr;
  QLabel* stop_icon_ = nullptr;
  QPushButton* ok_ = nullptr;
  bool faded_ = false;
};

}  // namespace zorvan::app
