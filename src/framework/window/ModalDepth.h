#pragma once
// How many modal loops (dialogs, message boxes, the file dialog) are running now. ModalScope keeps
// the count; the queue and the input monitor only read it, so they need not know how modal loops
// are entered and left.

class ModalDepth {
public:
    static int Value() { return s_depth; }

private:
    friend class ModalScope;
    static inline int s_depth = 0;
};
