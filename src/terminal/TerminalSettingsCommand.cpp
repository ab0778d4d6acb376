#include "app/CMainFrame.h"
#include "terminal/CTerminalOptionsDlg.h"

void CMainFrame::OnTerminalSettings() {
    CTerminalOptionsDlg dialog(nullptr);
    dialog.DoModal();
}
