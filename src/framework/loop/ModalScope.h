#pragma once
// Marks the time a modal loop (dialog, message box, file dialog) runs. While one runs the application's
// idle step is not called, posted messages are handed out by the modal loop, device input does not
// wake it, and the frame's keyboard accelerators are not translated.

#include "framework/window/ModalDepth.h"

class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    static int Depth() { return ModalDepth::Value(); }
};
