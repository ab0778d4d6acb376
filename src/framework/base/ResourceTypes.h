#pragma once
// The shapes of the program's resources: menus, accelerator tables, dialog templates (with the list
// entries of their combo boxes), strings and bitmaps. The program describes its resources in these
// records and registers them by number; the framework builds windows from them.

#include <string>
#include <vector>

#include "framework/base/WinUser.h"

struct MenuItemResource {
    std::string text;                    // "\t" separates the shortcut shown at the right
    UINT id = 0;                         // command number; 0 for a separator or a popup
    std::vector<MenuItemResource> items; // a popup's items
    bool separator = false;
};

struct MenuResource {
    std::vector<MenuItemResource> popups;
};

// Accelerator flags.
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FNOINVERT = 0x02;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

struct ACCEL {
    BYTE fVirt;
    WORD key; // virtual-key code: letters and digits as their upper-case character
    WORD cmd;
};

struct AcceleratorResource {
    std::vector<ACCEL> entries;
};

// One control of a dialog template. Coordinates are dialog units.
struct DialogItemTemplate {
    std::string className; // "BUTTON", "COMBOBOX", "STATIC", "EDIT"
    std::string text;      // caption; for an SS_BITMAP picture, the bitmap's number in decimal
    int id;                // IDC_STATIC (-1) when the control has none
    short x, y, cx, cy;
    DWORD style;
    DWORD exStyle = 0;
};

// Strings appended to a combo box when its dialog is created, in this order.
struct DialogInitEntry {
    int controlId;
    std::vector<std::string> strings;
};

struct DialogTemplate {
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
    std::string title;
    std::string fontFace;
    WORD pointSize;
    std::vector<DialogItemTemplate> items; // in tab order
    std::vector<DialogInitEntry> initData;
};
