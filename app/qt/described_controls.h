#pragma once
// Qt widgets made from the windows' descriptions (app/form_description.h).

#include <QWidget>

#include "app/form_description.h"

namespace zorvan::app {

// Sets up `window` as its description says: object name, caption, fixed client size,
// border, font and, where designed, its place on the screen.
void DescribeWindow(QWidget* window, const WindowDescription& description);

// Makes the control `description` describes on `window` (or on the panel it names),
// with its bounds, caption, hint, skin part, cursor and font. A label sizes itself to its
// caption from its top-left corner.
QWidget* MakeControl(QWidget* window, const ControlDescription& description);

}  // namespace zorvan::app
