#pragma once
// A modal dialog built from a dialog template. The object lives on its caller's stack for one run:
// DoModal builds the window and its controls from the template, owned by the given parent (or the
// application's main window), which stays disabled while the dialog runs; runs a modal loop in which
// posted messages are still handed out but the application's idle step is not; and takes every
// window down again before it returns, leaving nothing of the window behind.
//
// OK (button 1, Enter on the default button) and Cancel (button 2, Esc, the caption's close box)
// arrive as WM_COMMAND IDOK and IDCANCEL and reach OnOK and OnCancel through the message map.

#include <QEventLoop>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/window/CWnd.h"

class CDataExchange;
struct DialogTemplate;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    ~CDialog() override;

    // IDOK, IDCANCEL (or whatever EndDialog was given), or -1 when the template is missing or the
    // window cannot be built.
    virtual INT_PTR DoModal();

    // Base: appends the template's list entries to their combo boxes, then UpdateData(FALSE).
    // Returning TRUE puts the focus on the first tab stop; FALSE leaves it where the handler put it.
    virtual BOOL OnInitDialog();
    // Base: UpdateData(TRUE), and if that succeeded, EndDialog(IDOK).
    virtual void OnOK();
    // Base: EndDialog(IDCANCEL), with no exchange.
    virtual void OnCancel();

    // Ends the modal run with `result`. The window stays up until the running handler returns.
    void EndDialog(int result);
    // Exchanges data between the members and the controls (DoDataExchange); FALSE when it failed.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // The window that owned the dialog in its last run (null when it had none).
    CWnd* GetOwner() const { return GetParent(); }

    QWidget* GetClientWidget() const override;

protected:
    virtual void DoDataExchange(CDataExchange* dx);

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    DECLARE_MESSAGE_MAP()

private:
    LRESULT HandleInitDialog();
    void AppendListEntries();
    void ShowModalWindow();
    void TearDown();

    UINT m_nIDTemplate;
    CWnd* m_pParentArg;
    const DialogTemplate* m_pTemplate = nullptr;
    INT_PTR m_nModalResult = -1;
    bool m_ended = false;
    QEventLoop* m_loop = nullptr;
    // The window objects made for the template's controls (a DDX_Control member takes the place of
    // one of them while the window lives).
    std::vector<std::unique_ptr<CWnd>> m_controls;
};
