// The frame's menu and its keyboard accelerators.
#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace resources {

namespace {

MenuItemResource Item(const char* text, UINT id) {
    return MenuItemResource{text, id, {}, false};
}

MenuItemResource Separator() {
    return MenuItemResource{"", 0, {}, true};
}

MenuItemResource Popup(const char* text, std::vector<MenuItemResource> items) {
    return MenuItemResource{text, 0, std::move(items), false};
}

MenuResource MainMenu() {
    MenuResource menu;
    menu.popups = {
        Popup("File",
              {Item("Empty buffer\tCtrl+E", ID_EMPTY_BUFFER), Item("Save buffer\tCtrl+S", ID_SAVE_BUFFER),
               Separator(), Item("Port settings ...", ID_PORT_SETTINGS),
               Item("Terminal Settings ...", ID_TERMINAL_SETTINGS), Separator(), Item("Exit", ID_APP_EXIT)}),
        Popup("Driver",
              {Item("Toggle DTR\tCtrl+D", ID_TOGGLE_DTR), Item("Toggle RTS\tCtrl+R", ID_TOGGLE_RTS)}),
        Popup("System", {Item("Info\tCtrl + I", ID_SYSTEM_INFO)}),
        Popup("Help", {Item("About...", ID_APP_ABOUT)}),
    };
    return menu;
}

// Keyed by virtual key with Ctrl held; choosing one does not highlight the menu.
ACCEL CtrlKey(char key, UINT command) {
    return ACCEL{static_cast<BYTE>(FVIRTKEY | FCONTROL | FNOINVERT), static_cast<WORD>(key),
                 static_cast<WORD>(command)};
}

} // namespace

void RegisterMenuAndAccelerators() {
    afx::RegisterMenu(IDR_MAINFRAME, MainMenu());
    afx::RegisterAccelerators(IDR_ACCELERATORS,
                              AcceleratorResource{{CtrlKey('D', ID_TOGGLE_DTR), CtrlKey('E', ID_EMPTY_BUFFER),
                                                   CtrlKey('I', ID_SYSTEM_INFO), CtrlKey('R', ID_TOGGLE_RTS),
                                                   CtrlKey('S', ID_SAVE_BUFFER)}});
}

} // namespace resources
