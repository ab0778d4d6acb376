#pragma once
// The terminal options dialog: local echo, send CR only, filter LF and autowrap, for the run. It
// opens on the application-wide values (autowrap always clear) and on OK writes the choices into
// those values and into the terminal.

#include "framework/dialogs/CDialog.h"

class CTerminalOptionsDlg : public CDialog {
public:
    explicit CTerminalOptionsDlg(CWnd* parent = nullptr);
    ~CTerminalOptionsDlg() override;

    int m_bAutoWrap;
    int m_bLocalEcho;
    int m_bFilterLF;
    int m_bSendCROnly;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;

    DECLARE_MESSAGE_MAP()
};
