#pragma once
// The application's default exception display: an error that ends a handler is shown in
// a message box with the stop icon, and the program goes on.

#include <exception>
#include <functional>
#include <string>

namespace zorvan::app {

class Desktop;

// Shows `error` as the default exception display does: the stop icon, and a full stop
// added after a last character that sorts above it. A `hint` goes on a line of its own
// after the error's text.
void ShowDefaultException(Desktop& desktop, const std::exception& error, const std::string& hint = {});

// Runs `handler`; an exception that escapes it is shown through `desktop` with the
// full-stop rule applied, and nothing the handler had done is undone. A port error gets
// the line `port_error_hint` gives, when it gives one.
void RunHandler(Desktop& desktop, const std::function<void()>& handler,
                const std::function<std::string()>& port_error_hint = {});

}  // namespace zorvan::app
