#pragma once
// The operator's stop command (Ctrl+Delete): asks a running programming run to end at
// its next test of the stop request.

#include "common/operator_surface.h"
#include "protocol/flasher_state.h"

namespace zorvan {

// The status label once the operator has stopped a run.
inline constexpr const char* kStoppedStatus = "Зупинено користувачем";

// Acts only while the main gauge stands above 0, so it cannot stop the first block of a
// run. Stores the request, enables the five operating controls, sets the status label
// and shows the warning. Returns whether it acted.
bool StopCommand(FlasherState& state, OperatorSurface& surface);

}  // namespace zorvan
