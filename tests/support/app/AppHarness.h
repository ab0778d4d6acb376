#pragma once
// The whole program in a test: the application object started as the program starts it, its frame,
// its port, and recorders standing in for message boxes. Everything runs on the real message loop,
// offscreen.

#include <functional>
#include <string>
#include <vector>

#include "app/CDebugApp.h"
#include "app/CMainFrame.h"
#include "framework/dialogs/CDialog.h"
#include "serial/CSerialPort.h"

class AppHarness {
public:
    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
    };

    // `ntFamily` chooses the family the operating system reports.
    explicit AppHarness(bool ntFamily = true);
    ~AppHarness();
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;

    // Start-up as the program does it; the start-up port dialog is answered by `startDialog`
    // (by default it is cancelled).
    void Start(std::function<void(CDialog&)> startDialog = {});

    CDebugApp app;
    CMainFrame* Frame() const { return GetMainFrame(); }
    CSerialPort& Port() const { return *app.m_pPort; }
    std::string TerminalText() const;
    // The terminal's length in bytes, without copying its text: cheap enough for a wait's condition,
    // which runs at every turn of the loop.
    std::size_t TerminalLength() const;
    CString PaneText(int pane) const;
    UINT PaneStyle(int pane) const;

    // Runs the real loop until `done` holds (true) or the time is up (false).
    bool RunUntil(const std::function<bool()>& done, int timeoutMs = 3000);
    // Runs the real loop for a while, and at least until nothing posted is left.
    void RunFor(int milliseconds);

    // Message boxes shown so far; a box is answered at once with the first button.
    std::vector<Box> boxes;

    // Runs `action`, which opens a modal dialog, and answers the dialog with `script` once it is up.
    static void WithDialog(const std::function<void(CDialog&)>& script, const std::function<void()>& action);
    // Script helpers: pick a combo box entry by its text (or clear it with nullptr), tick a box, press.
    static void Choose(CDialog& dialog, int comboId, const char* text);
    static void Tick(CDialog& dialog, int checkId, bool on);
    static void Press(CDialog& dialog, int buttonId);
    static std::vector<std::string> Entries(CDialog& dialog, int comboId);
    static std::string Selected(CDialog& dialog, int comboId);

    // Runs the port settings dialog from the menu command and answers it: the port and OK.
    void ChoosePort(const char* name);
};
