#pragma once
// The forms as a Windows translation unit sees them. The logic names the system
// sounds by their MessageBeep types (MB_ICONHAND, ...), which <windows.h> defines as
// macros: those are put aside while the forms' headers are read, whichever came first.

#pragma push_macro("MB_ICONHAND")
#pragma push_macro("MB_ICONQUESTION")
#pragma push_macro("MB_ICONEXCLAMATION")
#pragma push_macro("MB_ICONASTERISK")
#undef MB_ICONHAND
#undef MB_ICONQUESTION
#undef MB_ICONEXCLAMATION
#undef MB_ICONASTERISK

#include "app/form_help.h"
#include "app/main_form.h"
#include "app/production_form.h"

#pragma pop_macro("MB_ICONASTERISK")
#pragma pop_macro("MB_ICONEXCLAMATION")
#pragma pop_macro("MB_ICONQUESTION")
#pragma pop_macro("MB_ICONHAND")
