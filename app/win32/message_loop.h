#pragma once
// The program's message loop. Every message meant for a form or its controls is first
// offered to the form's PreTranslateMessage (its key preview), then to the dialog
// manager for Tab, the arrow keys and Enter, and only then dispatched.

#include <functional>

namespace zorvan::win32 {

// Runs until the program is asked to end; returns the exit code it was given.
int RunMessageLoop();

// Runs the messages waiting now and returns: the long procedures' "process pending
// messages" point. Returns false when the program has been asked to end meanwhile; the
// request is kept for the loop that runs the program.
bool ProcessPendingMessages();

// Runs `task` once, the next time the message loop finds nothing to do: not at a long
// procedure's pending-message points, which would then take longer. `owner` names who
// asked, for ForgetIdleTasks.
void RunWhenIdle(const void* owner, std::function<void()> task);
// Drops the tasks `owner` asked for and that have not run yet.
void ForgetIdleTasks(const void* owner);

}  // namespace zorvan::win32
