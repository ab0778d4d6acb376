#include "app/CMainFrame.h"
#include "platform/hardware/Registry.h"
#include "sysinfo/DumpRegistryKey.h"

void CMainFrame::OnSystemInfo() {
    HKEY root = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\SYSTEM", 0, KEY_READ, &root) !=
        ERROR_SUCCESS) {
        MessageBox("", "Error", MB_OK);
        return;
    }
    LONG result = DumpRegistryKey(root, m_wndTerminal, "");
    RegCloseKey(root);
    if (result != 0)
        MessageBox("", "Error", MB_OK);
}
