#pragma once
// The Windows window's GUI thread as the serial port's event thread sees it: each
// handoff posts a message to a message-only window of the GUI thread, and the message
// loop, or a running procedure's pending-message point, serves the handoffs as it
// dispatches that message.

#include <windows.h>

#include "serial/event_loop_gui_thread.h"

namespace zorvan::win32 {

class Win32GuiThread final : public EventLoopGuiThread {
 public:
  // Made on the GUI thread, before the ports given it, and gone after them.
  explicit Win32GuiThread(ErrorDisplay display);
  ~Win32GuiThread() override;
  Win32GuiThread(const Win32GuiThread&) = delete;
  Win32GuiThread& operator=(const Win32GuiThread&) = delete;

 protected:
  void AskEventLoopToServe() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND window_ = nullptr;
};

}  // namespace zorvan::win32
