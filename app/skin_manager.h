#pragma once
// The skin manager: one internal skin, a style sheet with named parts, selected when the
// main window is created.

#include <QFont>
#include <QObject>
#include <QString>

class QWidget;

namespace zorvan::app {

// The named parts of the skin a control can be drawn with.
inline constexpr char kSkinBar[] = "BAR";
inline constexpr char kSkinComboBox[] = "COMBOBOX";
inline constexpr char kSkinButtonHuge[] = "BUTTON_HUGE";
inline constexpr char kSkinDialog[] = "DIALOG";

// The windows' font, "MS Sans Serif" of the given pixel height (8 point is 11 pixels).
QFont DesignFont(int pixel_height);

// Names the part of the skin `control` is drawn with (the style sheet's
// [SkinSection="..."] selector).
void SetSkinSection(QWidget* control, const char* section);

class TsSkinManager : public QObject {
  Q_OBJECT

 public:
  // The name of the skin the program carries.
  static const QString kInternalSkinName;

  explicit TsSkinManager(QObject* parent = nullptr);

  // Applies the internal skin to the whole application and starts the window fades.
  void Activate();

  // A name the manager has no skin for is kept, and the windows stay drawn with the
  // skin already in use.
  void SetSkinName(const QString& name);
  QString SkinName() const { return skin_name_; }
  // The name of the skin the windows are drawn with.
  QString ActiveSkin() const { return active_skin_; }

 private:
  QString skin_name_ = kInternalSkinName;
  QString active_skin_;
};

}  // namespace zorvan::app
