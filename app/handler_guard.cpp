#include "app/handler_guard.h"

#include "app/desktop.h"
#include "common/errors.h"

namespace zorvan::app {

void ShowDefaultException(Desktop& desktop, const std::exception& error) {
  desktop.ShowException(ExceptionDisplayText(error.what()));
}

void RunHandler(Desktop& desktop, const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowDefaultException(desktop, error);
  }
}

}  // namespace zorvan::app
