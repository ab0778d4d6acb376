#include "config/PortPaneTexts.h"

#include <algorithm>

#include "config/CPortSettingsDlg.h"
#include "framework/base/ResourceTable.h"
#include "resources/ResourceIds.h"

namespace {

// The fixed entries of one of the dialog's lists; none when the dialog has no such list.
std::vector<std::string> ListEntries(int controlId) {
    const DialogTemplate* dialog = afx::FindDialog(IDD_PORT_SETTINGS);
    if (dialog == nullptr)
        return {};
    const auto found = std::find_if(dialog->initData.begin(), dialog->initData.end(),
                                    [controlId](const DialogInitEntry& entry) { return entry.controlId == controlId; });
    return found != dialog->initData.end() ? found->strings : std::vector<std::string>{};
}

} // namespace

CString PortPaneText(const std::string& portName) {
    return CString("Port: ") + portName.c_str();
}

CString LinePaneText(const CString& baudRate, const CString& parity, const CString& dataBits) {
    return CString("Line: ") + baudRate + "," + parity.Left(1) + "," + dataBits;
}

std::vector<CString> EveryPortPaneText() {
    std::vector<CString> texts;
    for (int n = CPortSettingsDlg::kFirstPort; n <= CPortSettingsDlg::kLastPort; ++n)
        texts.push_back(PortPaneText("COM" + std::to_string(n)));
    return texts;
}

std::vector<CString> EveryLinePaneText() {
    std::vector<CString> texts;
    for (const std::string& speed : ListEntries(IDC_BAUD_RATE))
        for (const std::string& parity : ListEntries(IDC_PARITY))
            for (const std::string& bits : ListEntries(IDC_DATA_BITS))
                texts.push_back(LinePaneText(speed.c_str(), parity.c_str(), bits.c_str()));
    return texts;
}
