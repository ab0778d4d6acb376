#include "terminal/CTerminalEdit.h"

#include "app/CDebugApp.h"
#include "serial/CSerialPort.h"

BEGIN_MESSAGE_MAP(CTerminalEdit, CEdit)
ON_WM_CHAR()
END_MESSAGE_MAP()

CTerminalEdit::CTerminalEdit() : m_bLocalEcho(0), m_bAutoWrap(0), m_bFilterLF(1), m_bSendCROnly(1) {}

CTerminalEdit::~CTerminalEdit() = default;

void CTerminalEdit::OnChar(UINT ch, UINT repeatCount, UINT flags) {
    BYTE byte = static_cast<BYTE>(ch & 0xFF);
    if (flags == kReceivedFlags) {
        if (ch == 10 && m_bFilterLF)
            return;
        CEdit::OnChar(ch, repeatCount, flags);
        return;
    }
    if (m_bLocalEcho)
        CEdit::OnChar(ch, repeatCount, flags);
    if (byte == 10 && m_bSendCROnly)
        return;
    CDebugApp* app = GetDebugApp();
    CSerialPort* port = app ? app->m_pPort : nullptr;
    if (port != nullptr && port->GetState() == Idle)
        port->Write(&byte, 1);
}
