#pragma once
// The modal message box of the desktop: the application's title, the message with its
// lines kept whole, one OK button, and for errors the stop icon; or a question with the
// question icon and the buttons "Так" and "Ні". It fades out before it goes, as the
// skin's windows do.

#include <QDialog>

class QLabel;
class QPushButton;

namespace zorvan::app {

enum class MessageKind { Information, Error, Question };

class MessageDialog : public QDialog {
  Q_OBJECT

 public:
  // A question's "Ні" has the focus and is the default button, so Enter answers no; exec
  // returns QDialog::Accepted for "Так".
  MessageDialog(const QString& title, const QString& text, MessageKind kind);

  QString Text() const;
  bool HasStopIcon() const { return kind_ == MessageKind::Error; }
  QPushButton* OkButton() const { return ok_; }  // none for a question
  QPushButton* YesButton() const { return yes_; }  // a question's only
  QPushButton* NoButton() const { return no_; }

  void done(int result) override;

 private:
  QPushButton* AddButton(const QString& caption, const QString& name);

  MessageKind kind_;
  QLabel* text_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* yes_ = nullptr;
  QPushButton* no_ = nullptr;
  bool faded_ = false;
};

}  // namespace zorvan::app
