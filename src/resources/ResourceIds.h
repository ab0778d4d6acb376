#pragma once
// Numbers of the program's resources, commands, controls and status bar indicators.

#include "framework/base/WinUser.h"

// Resources.
inline constexpr UINT IDD_ABOUTBOX = 100;
inline constexpr UINT IDR_MAINFRAME = 101; // the frame's menu
inline constexpr UINT IDD_TERMINAL_OPTIONS = 103;
inline constexpr UINT IDR_ACCELERATORS = 104;
inline constexpr UINT IDB_ABOUT = 105;
inline constexpr UINT IDD_PORT_SETTINGS = 130;

// Commands.
inline constexpr UINT ID_REFRESH_STATUS = 40001;
inline constexpr UINT ID_TOGGLE_DTR = 40005;
inline constexpr UINT ID_TOGGLE_RTS = 40006;
inline constexpr UINT ID_PORT_SETTINGS = 40007;
inline constexpr UINT ID_TERMINAL_SETTINGS = 40008;
inline constexpr UINT ID_SYSTEM_INFO = 40009;
inline constexpr UINT ID_EMPTY_BUFFER = 40010;
inline constexpr UINT ID_SAVE_BUFFER = 40011;
// ID_APP_ABOUT (57664) and ID_APP_EXIT (57665) are the framework's.

// Controls of the port settings dialog.
inline constexpr int IDC_PORT = 544;
inline constexpr int IDC_BAUD_RATE = 545;
inline constexpr int IDC_DATA_BITS = 546;
inline constexpr int IDC_PARITY = 547;
inline constexpr int IDC_STOP_BITS = 548;
inline constexpr int IDC_DTR_DSR = 549;
inline constexpr int IDC_RTS_CTS = 550;
inline constexpr int IDC_XON_XOFF = 551;

// Controls of the terminal options dialog.
inline constexpr int IDC_AUTOWRAP = 552;
inline constexpr int IDC_SEND_CR_ONLY = 553;
inline constexpr int IDC_LOCAL_ECHO = 554;
inline constexpr int IDC_FILTER_LF = 556;

// The terminal edit's control number.
inline constexpr UINT IDC_TERMINAL = 2000;

// Status bar indicators; each one's string is its pane's first text and sets the pane's width.
inline constexpr UINT ID_INDICATOR_CTS = 1;
inline constexpr UINT ID_INDICATOR_RTS = 2;
inline constexpr UINT ID_INDICATOR_DTR = 3;
inline constexpr UINT ID_INDICATOR_DSR = 4;
inline constexpr UINT ID_INDICATOR_DCD = 5;
inline constexpr UINT ID_INDICATOR_TXD = 6;
inline constexpr UINT ID_INDICATOR_RXD = 7;
inline constexpr UINT ID_INDICATOR_RI = 8;
inline constexpr UINT ID_INDICATOR_OUT = 9;
inline constexpr UINT ID_INDICATOR_IN = 10;
inline constexpr UINT ID_INDICATOR_PORT = 11;
inline constexpr UINT ID_INDICATOR_LINE = 12;
inline constexpr UINT ID_INDICATOR_BLANK = 13;
