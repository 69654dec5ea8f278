#include "app/handler_guard.h"

#include "app/desktop.h"
#include "common/errors.h"
#include "serial/ecomport.h"

namespace zorvan::app {

void ShowDefaultException(Desktop& desktop, const std::exception& error, const std::string& hint) {
  std::string text = ExceptionDisplayText(error.what());
  if (!hint.empty()) text += "\n" + hint;
  desktop.ShowException(text);
}

void RunHandler(Desktop& desktop, const std::function<void()>& handler,
                const std::function<std::string()>& port_error_hint) {
  try {
    handler();
  } catch (const EComPort& error) {
    ShowDefaultException(desktop, error, port_error_hint ? port_error_hint() : std::string());
  } catch (const std::exception& error) {
    ShowDefaultException(desktop, error);
  }
}

}  // namespace zorvan::app
