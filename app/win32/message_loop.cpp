#include "app/win32/message_loop.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "app/win32/form.h"

namespace zorvan::win32 {

namespace {

void Dispatch(MSG& message) {
  const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (Form* form = Form::FromHandle(root)) {
    if (form->PreTranslateMessage(message)) return;
    // The key handler may have closed the form.
    if (IsWindow(root) && IsDialogMessageW(root, &message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

std::vector<std::pair<const void*, std::function<void()>>>& IdleTasks() {
  static std::vector<std::pair<const void*, std::function<void()>>> tasks;
  return tasks;
}

void RunIdleTasks() {
  // A task may ask for another; that one waits for the next quiet moment.
  auto tasks = std::move(IdleTasks());
  IdleTasks().clear();
  for (auto& [owner, task] : tasks) task();
}

}  // namespace

int RunMessageLoop() {
  MSG message;
  for (;;) {
    if (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) RunIdleTasks();
    if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
    Dispatch(message);
  }
  return static_cast<int>(message.wParam);
}

void RunWhenIdle(const void* owner, std::function<void()> task) { IdleTasks().emplace_back(owner, std::move(task)); }

void ForgetIdleTasks(const void* owner) {
  std::erase_if(IdleTasks(), [owner](const auto& entry) { return entry.first == owner; });
}

bool ProcessPendingMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    Dispatch(message);
  }
  return true;
}

}  // namespace zorvan::win32
