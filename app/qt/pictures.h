#pragma once
// The program's own pictures, drawn from the SVG files in app/skin.

#include <QIcon>
#include <QPixmap>
#include <QSize>

namespace zorvan::app {

QIcon ProgramIcon();
// The picture above the write button's caption.
QIcon WriteButtonPicture();
// The small pictures on the maker-site and help buttons.
QIcon MakerSiteGlyph();
QIcon AboutGlyph();
// The maker's emblem in the help window.
QPixmap Emblem(QSize size, qreal device_pixel_ratio);

}  // namespace zorvan::app
