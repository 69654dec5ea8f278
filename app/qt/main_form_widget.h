#pragma once
// The main window in Qt Widgets: the view of TMainForm. It makes the controls the window's
// description lists, forwards the operator's acts to the form and shows what the form
// says; it decides nothing.

#include <QWidget>
#include <array>

#include "app/main_form.h"
#include "app/main_form_view.h"
#include "app/qt/qt_form_window.h"

namespace zorvan::app {

class MainFormWidget : public QtFormWindow<MainFormView, TMainForm> {
 public:
  // Applies the skin to the application, and makes the window hidden.
  explicit MainFormWidget(QWidget* parent = nullptr);

  // The control the description names `control`.
  QWidget* Widget(MainControl control) const { return controls_[static_cast<size_t>(control)]; }

  // MainFormView.
  void SetCaption(const std::string& caption) override;
  void SetText(MainControl control, const std::string& text) override;
  void AddLine(MainControl memo, const std::string& line) override;
  void SetEnabled(MainControl control, bool enabled) override;
  void SetItems(MainControl box, const std::vector<std::string>& items) override;
  void SetItemIndex(MainControl box, int index) override;
  void Focus(MainControl control) override;
  void ShowGauge(MainControl gauge, int filled, const std::string& caption) override;
  void ShowBar(MainControl bar, int max, int position) override;
  void SetOuterHeight(int height) override;
  void CentreOnScreen() override;
  void Repaint() override { repaint(); }
  void BringApplicationToFront() override;
  void ProcessMessages() override;

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void DecorateControls();
  void SetTabOrder();
  void ForwardEvents();
  void Centre();
  int NonClientHeight() const;

  template <typename Control>
  Control* As(MainControl control) const {
    return static_cast<Control*>(Widget(control));
  }

  std::array<QWidget*, kMainControlCount> controls_{};
  bool centre_when_shown_ = false;
};

}  // namespace zorvan::app
