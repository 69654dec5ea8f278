#pragma once
// The application's default exception display: an error that ends a handler is shown in
// a message box with the stop icon, and the program goes on.

#include <exception>
#include <functional>

namespace zorvan::app {

class Desktop;

// Shows `error` as the default exception display does: the stop icon, and a full stop
// added after a last character that sorts above it.
void ShowDefaultException(Desktop& desktop, const std::exception& error);

// Runs `handler`; an exception that escapes it is shown through `desktop` with the
// full-stop rule applied, and nothing the handler had done is undone.
void RunHandler(Desktop& desktop, const std::function<void()>& handler);

}  // namespace zorvan::app
