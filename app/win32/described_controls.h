#pragma once
// The kit's controls made from a window's description: each row's kind, parent panel,
// bounds, caption, hint (a tooltip where the description shows it), cursor and font, and
// what the skin gives the control by its name (colours, pictures, the button's look).

#include <memory>
#include <span>
#include <vector>

#include "app/form_description.h"
#include "app/win32/control.h"

namespace zorvan::win32 {

class Form;
struct SkinPictures;

// Made in the description's order, which names a panel before the controls it holds;
// each carries its row's identifier (app/win32/control_ids.h).
std::vector<std::unique_ptr<Control>> MakeDescribedControls(Form& form,
                                                            std::span<const app::ControlDescription> rows,
                                                            const SkinPictures& pictures);

}  // namespace zorvan::win32
