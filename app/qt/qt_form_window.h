#pragma once
// What the two forms' Qt windows share: showing, hiding and fading as their forms say,
// and the close box handed to the form.

#include <QCloseEvent>
#include <QWidget>

#include "app/qt/described_controls.h"
#include "app/qt/window_fader.h"

namespace zorvan::app {

// `View` is the form's view interface, `Form` the form that serves it.
template <typename View, typename Form>
class QtFormWindow : public QWidget, public View {
 public:
  explicit QtFormWindow(const WindowDescription& window, QWidget* parent = nullptr) : QWidget(parent) {
    DescribeWindow(this, window);
  }

  // The form the operator's acts go to from now on; nullptr: none, as before the form is
  // made and once it is gone.
  void Connect(Form* form) { form_ = form; }

  void ShowWindow() override {
    setWindowOpacity(0.0);  // the form fades it in at once
    show();
  }
  void HideWindow() override {
    hiding_ = true;
    close();  // the main window's close ends the program
    hiding_ = false;
    setWindowOpacity(1.0);
  }
  void BringToFront() override {
    raise();
    activateWindow();
  }
  void FadeIn(int milliseconds) override { WindowFader::FadeIn(this, milliseconds); }
  void FadeOut(int milliseconds) override {
    WindowFader::FadeOut(this, milliseconds, [this] {
      if (form_) form_->FadeOutEnded();
    });
  }
  void CancelFade() override { WindowFader::CancelFadeOut(this); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    if (hiding_ || !form_) {
      QWidget::closeEvent(event);
      return;
    }
    event->ignore();
    form_->FormClose();
  }

  Form* form_ = nullptr;

 private:
  bool hiding_ = false;
};

}  // namespace zorvan::app
