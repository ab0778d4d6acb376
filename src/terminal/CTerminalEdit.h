#pragma once
// The terminal: every received byte is shown here and every typed character goes out from here, one
// byte at a time. Received characters carry the flags word 0xFFFF; the keyboard never does.

#include "framework/edit/CEdit.h"

class CTerminalEdit : public CEdit {
public:
    CTerminalEdit();
    ~CTerminalEdit() override;

    BOOL m_bLocalEcho;  // typed characters are shown too
    BOOL m_bAutoWrap;   // the options dialog's choice; long lines never wrap whatever it says
    BOOL m_bFilterLF;   // received line feeds are discarded
    BOOL m_bSendCROnly; // typed line feeds are not sent

    void OnChar(UINT ch, UINT repeatCount, UINT flags);

    static constexpr UINT kReceivedFlags = 0xFFFF;

    DECLARE_MESSAGE_MAP()
};
