#pragma once
// Marks the time a modal loop (dialog, message box, file dialog) runs. While one runs the application's
// idle step is not called, posted messages are handed out by the modal loop, and the frame's
// keyboard accelerators are not translated.

class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    static int Depth();
};
