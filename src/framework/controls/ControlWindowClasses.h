#pragma once
// The window classes of dialog controls: "BUTTON" (push buttons, check boxes, group boxes, by style),
// "STATIC" and "COMBOBOX". A control registers them when its first object is made.

namespace afx {

// Registers the control classes, once.
void RegisterControlWindowClasses();

} // namespace afx
