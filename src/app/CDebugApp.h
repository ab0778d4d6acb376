#pragma once
// The application object: start-up, the idle step that is the program's whole receive path, and
// shutdown. While the port is open and idle, every idle step reads at most one byte, posts it to the
// terminal as a received character, and asks the frame to refresh the line indicators.

#include "framework/loop/CWinApp.h"

class CSerialPort;
class CMainFrame;

class CDebugApp : public CWinApp {
public:
    CDebugApp();
    ~CDebugApp() override;

    BOOL InitInstance() override;
    BOOL OnIdle(LONG count) override;
    int ExitInstance() override;

    // The one port: created Closed at start-up, deleted at shutdown.
    CSerialPort* m_pPort = nullptr;

    // The second parameter of a received character: repeat count 1, flags word 0xFFFF. Keyboard input
    // never carries this flags word.
    static constexpr LPARAM kReceivedCharFlags = 0xFFFF0001;
    // The program's exit status when its main window could not be made at start-up (start-up then
    // fails: no port dialog, no loop).
    static constexpr int kNoWindowExitCode = 1;

private:
    bool m_noWindow = false;
};

// The one application object, and its main frame.
CDebugApp* GetDebugApp();
CMainFrame* GetMainFrame();
