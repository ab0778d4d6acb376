#pragma once
// The About box: the framework's dialog on its template, as it stands.

#include "framework/dialogs/CDialog.h"
#include "resources/ResourceIds.h"

class CAboutDlg : public CDialog {
public:
    CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
};
