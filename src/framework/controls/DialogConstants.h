#pragma once
// Messages, notifications and styles of dialogs and their controls beyond the common set in WinUser.h.
// Values are the platform's own.

#include "framework/base/WinUser.h"

// Button: a click as the user makes it, and the notification it sends to the parent.
inline constexpr UINT BM_CLICK = 0x00F5;
inline constexpr WORD BN_CLICKED = 0;

// Dialog: the identifier of the default push button.
inline constexpr UINT DM_GETDEFID = WM_USER + 0;
inline constexpr WORD DC_HASDEFID = 0x534B;

// Exact (whole-text, case-insensitive) search of a combo box list.
inline constexpr UINT CB_FINDSTRINGEXACT = 0x0158;

// Our own, past the platform's combo box messages: the tooltip that the opened list shows over one
// entry (wParam the index, lParam the 8-bit text; an empty text removes it). CB_ERR for a bad index.
inline constexpr UINT CB_SETITEMTIPTEXT = 0x01A0;
