#pragma once
// "Select Serial Port": the one place where the program's port is opened. It lists the ports that
// can be opened right now, offers speed, framing and flow control from fixed defaults, and on OK
// reopens the port on the chosen name with those settings, shows port and line in the status bar,
// drops RTS and raises DTR.

#include "framework/controls/CComboBox.h"
#include "framework/dialogs/CDialog.h"

class CPortSettingsDlg : public CDialog {
public:
    explicit CPortSettingsDlg(CWnd* parent = nullptr);
    ~CPortSettingsDlg() override;

    CComboBox m_portList;
    CString m_baudRate;
    CString m_dataBits;
    int m_dtrDsr;
    CString m_parity;
    CString m_portName;
    int m_rtsCts;
    CString m_stopBits;
    int m_xonXoff;

    // The names that the dialog tries, COM1 to COM255.
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 255;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

private:
    void ProbePorts();
    void ApplySettings();
};

// The codes that the dialog's texts stand for.
BYTE StopBitsFromText(const CString& text);
BYTE ParityFromText(const CString& text);
// A decimal value as the dialog reads it: leading blanks, an optional sign, then digits up to the
// first other character; no digits gives 0.
long DecimalFromText(const CString& text);
