#include "app/handler_guard.h"

#include <exception>

#include "app/desktop.h"
#include "common/errors.h"

namespace zorvan::app {

void RunHandler(Desktop& desktop, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    desktop.ShowException(QString::fromStdString(ExceptionDisplayText(error.what())));
  }
}

}  // namespace zorvan::app
