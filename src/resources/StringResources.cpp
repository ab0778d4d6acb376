// The string table: each status bar indicator's string is its pane's first text and sets the
// pane's width.
#include "framework/base/ResourceTable.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace resources {

void RegisterStrings() {
    afx::RegisterString(ID_INDICATOR_BLANK, " ");
    afx::RegisterString(ID_INDICATOR_CTS, "CTS");
    afx::RegisterString(ID_INDICATOR_RTS, "RTS");
    afx::RegisterString(ID_INDICATOR_DTR, "DTR");
    afx::RegisterString(ID_INDICATOR_DSR, "DSR");
    afx::RegisterString(ID_INDICATOR_DCD, "DCD");
    afx::RegisterString(ID_INDICATOR_TXD, "TxD");
    afx::RegisterString(ID_INDICATOR_RXD, "RxD");
    afx::RegisterString(ID_INDICATOR_RI, "RI");
    afx::RegisterString(ID_INDICATOR_PORT, "Port: None     ");
    afx::RegisterString(ID_INDICATOR_LINE, "Line: 230400,N,1");
    afx::RegisterString(ID_INDICATOR_OUT, "Out: 0000000000");
    afx::RegisterString(ID_INDICATOR_IN, "In: 0000000000");
}

} // namespace resources
