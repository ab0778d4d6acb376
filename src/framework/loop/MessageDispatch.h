#pragma once
// Posting and handing out messages, and the bookkeeping the idle protocol needs: whether a message
// that counts as input was handled since the loop last asked.

#include "framework/base/WinUser.h"

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);

namespace afx {

// Hands one posted message to its window; a message for a window that is gone is dropped.
void DispatchPostedMessage(const MSG& msg);

// Input for the idle protocol: keyboard and mouse input and posted messages, but not paints,
// system timers or a mouse move that leaves the pointer where it was.
bool CountsAsInput(UINT message);
void NoteInput();
bool TakeInputSeen();

// WM_QUIT seen: the main loop ends with this exit code.
bool QuitRequested();
int QuitCode();
void ClearQuit();

} // namespace afx
