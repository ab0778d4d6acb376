#include "AppHarness.h"

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <optional>

#include "framework/controls/DialogConstants.h"
#include "framework/edit/EditView.h"
#include "framework/loop/MessageBox.h"
#include "framework/loop/MessageDispatch.h"
#include "framework/window/PostedMessageQueue.h"
#include "framework/window/WndWidget.h"
#include "support/SimulatedDevice.h"
#include "platform/base/SystemVersion.h"
#include "resources/ProgramResources.h"
#include "resources/ResourceIds.h"

namespace {
// Messages left over by an earlier program (its WM_QUIT, for one) must not reach this one.
void DropPostedMessages() {
    MSG msg;
    while (PostedMessageQueue::Instance().Pop(msg)) {
    }
    afx::ClearQuit();
}
} // namespace

AppHarness::AppHarness(bool ntFamily) {
    DropPostedMessages();
    resources::RegisterProgramResources();
    platform::SetReportedPlatform(ntFamily ? VER_PLATFORM_WIN32_NT : VER_PLATFORM_WIN32_WINDOWS);
    afx::ClearQuit();
    afx::SetMessageBoxHandler([this](HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
        boxes.push_back({owner, text ? text : "", caption ? caption : "", type});
        return IDOK;
    });
}

AppHarness::~AppHarness() {
    if (CMainFrame* frame = Frame())
        frame->DestroyWindow();
    app.ExitInstance();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    afx::SetMessageBoxHandler({});
    DropPostedMessages();
    platform::SimulatedDevice::UnregisterAll();
    platform::RestoreSystemVersion();
}

void AppHarness::Start(std::function<void(CDialog&)> startDialog) {
    if (!startDialog)
        startDialog = [](CDialog& d) { Press(d, IDCANCEL); };
    WithDialog(startDialog, [this] { app.InitInstance(); });
}

std::string AppHarness::TerminalText() const {
    return Frame()->m_wndTerminal.GetText();
}

std::size_t AppHarness::TerminalLength() const {
    framework::EditView* view = Frame()->m_wndTerminal.GetView();
    return view ? view->TextLength() : 0;
}

CString AppHarness::PaneText(int pane) const {
    return Frame()->m_wndStatusBar.GetPaneText(pane);
}

UINT AppHarness::PaneStyle(int pane) const {
    return Frame()->m_wndStatusBar.GetPaneStyle(pane);
}

bool AppHarness::RunUntil(const std::function<bool()>& done, int timeoutMs) {
    return app.RunUntil(done, timeoutMs);
}

void AppHarness::RunFor(int milliseconds) {
    // However slow the machine, everything posted by then is handled before this returns. The time
    // counts from the loop's first turn: on a loaded machine the loop's own start (Qt's pending events,
    // a first paint) can take longer than the whole while, and the loop must still get its idle turns.
    std::optional<std::chrono::steady_clock::time_point> deadline;
    app.RunUntil(
        [&deadline, milliseconds] {
            const auto now = std::chrono::steady_clock::now();
            if (!deadline)
                deadline = now + std::chrono::milliseconds(milliseconds);
            return now >= *deadline && PostedMessageQueue::Instance().Empty();
        },
        milliseconds + 5000);
}

namespace {

CDialog* OpenDialog() {
    QWidget* modal = QApplication::activeModalWidget();
    std::vector<QWidget*> candidates;
    if (modal != nullptr)
        candidates.push_back(modal);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            candidates.push_back(w);
    for (QWidget* w : candidates)
        if (auto* bridge = WndWidgetBase::FromWidget(w))
            if (auto* dialog = dynamic_cast<CDialog*>(bridge->Owner()))
                return dialog;
    return nullptr;
}

void AnswerWhenUp(std::function<void(CDialog&)> script, int triesLeft) {
    QTimer::singleShot(5, [script, triesLeft] {
        if (CDialog* dialog = OpenDialog()) {
            script(*dialog);
            return;
        }
        if (triesLeft > 0)
            AnswerWhenUp(script, triesLeft - 1);
    });
}

} // namespace

void AppHarness::WithDialog(const std::function<void(CDialog&)>& script,
                            const std::function<void()>& action) {
    AnswerWhenUp(script, 400);
    action();
}

void AppHarness::Choose(CDialog& dialog, int comboId, const char* text) {
    CWnd* combo = dialog.GetDlgItem(comboId);
    if (text == nullptr) {
        combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        return;
    }
    LRESULT index =
        combo->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text));
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void AppHarness::Tick(CDialog& dialog, int checkId, bool on) {
    dialog.GetDlgItem(checkId)->SendMessage(BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}

void AppHarness::Press(CDialog& dialog, int buttonId) {
    dialog.SendMessage(WM_COMMAND, static_cast<WPARAM>(buttonId), 0);
}

std::vector<std::string> AppHarness::Entries(CDialog& dialog, int comboId) {
    CWnd* combo = dialog.GetDlgItem(comboId);
    std::vector<std::string> entries;
    auto count = combo->SendMessage(CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char text[256] = {};
        combo->SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        entries.emplace_back(text);
    }
    return entries;
}

std::string AppHarness::Selected(CDialog& dialog, int comboId) {
    CString text;
    dialog.GetDlgItem(comboId)->GetWindowText(text);
    return text.str();
}

void AppHarness::ChoosePort(const char* name) {
    WithDialog(
        [name](CDialog& d) {
            Choose(d, IDC_PORT, name);
            Press(d, IDOK);
        },
        [this] { Frame()->SendMessage(WM_COMMAND, ID_PORT_SETTINGS, 0); });
}
