#pragma once
// The windows' texts are UTF-8; Qt's are QString.

#include <QString>
#include <string>
#include <string_view>

namespace zorvan::app {

inline QString Text(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline std::string Utf8(const QString& text) { return text.toStdString(); }

}  // namespace zorvan::app
