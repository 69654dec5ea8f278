#pragma once
// The program's one internal skin: a style sheet with named parts, applied to the whole
// application when the main window is made.

#include <QFont>

class QWidget;

namespace zorvan::app {

// The windows' font, "MS Sans Serif" of the given pixel height (8 point is 11 pixels).
QFont DesignFont(int pixel_height);

// Names the part of the skin `control` is drawn with (the style sheet's
// [SkinSection="..."] selector).
void SetSkinSection(QWidget* control, const QString& section);

// Applies the internal skin to the whole application and starts the fades of the
// windows that are not forms' (message boxes, the port-list window).
void ActivateSkin();

}  // namespace zorvan::app
