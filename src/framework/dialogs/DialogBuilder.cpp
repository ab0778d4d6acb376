#include "framework/dialogs/DialogBuilder.h"

#include <QGuiApplication>
#include <QScreen>
#include <strings.h>

#include "framework/controls/CButton.h"
#include "framework/controls/CComboBox.h"
#include "framework/base/CRect.h"
#include "framework/controls/CStatic.h"
#include "framework/dialogs/DialogWidget.h"
#include "framework/dialogs/DialogWindowClasses.h"
#include "framework/base/Gdi.h"

namespace {

std::unique_ptr<CWnd> NewWindowObject(const std::string& className) {
    if (strcasecmp(className.c_str(), "BUTTON") == 0)
        return std::make_unique<CButton>();
    if (strcasecmp(className.c_str(), "COMBOBOX") == 0)
        return std::make_unique<CComboBox>();
    if (strcasecmp(className.c_str(), "STATIC") == 0)
        return std::make_unique<CStatic>();
    return std::make_unique<CWnd>();
}

CRect ToRect(const QRect& r) {
    return CRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
}

HFONT UserInterfaceFont() {
    return afx::HandleFromStockObject(GetStockObject(DEFAULT_GUI_FONT));
}

} // namespace

DialogBuilder::DialogBuilder(const DialogTemplate& dialogTemplate)
    : m_template(dialogTemplate), m_uiFont(IsUserInterfaceFont(dialogTemplate)),
      m_font(FontOf(dialogTemplate)), m_units(m_font) {}

bool DialogBuilder::IsUserInterfaceFont(const DialogTemplate& dialogTemplate) {
    if ((dialogTemplate.style & DS_SETFONT) == 0 || dialogTemplate.fontFace.empty())
        return true;
    for (const char* name : {"MS Sans Serif", "MS Shell Dlg", "MS Shell Dlg 2"})
        if (strcasecmp(dialogTemplate.fontFace.c_str(), name) == 0)
            return true;
    return false;
}

QFont DialogBuilder::FontOf(const DialogTemplate& dialogTemplate) {
    if (IsUserInterfaceFont(dialogTemplate))
        return afx::FontFromHandle(UserInterfaceFont());
    return QFont(QString::fromLatin1(dialogTemplate.fontFace.c_str()), dialogTemplate.pointSize);
}

bool DialogBuilder::Build(CWnd& dialog, CWnd* owner, std::vector<std::unique_ptr<CWnd>>& controls) const {
    if (!CreateDialogWindow(dialog, owner))
        return false;
    for (const DialogItemTemplate& item : m_template.items) {
        std::unique_ptr<CWnd> control = CreateControl(dialog, item);
        if (control == nullptr)
            return false;
        controls.push_back(std::move(control));
    }
    Place(dialog, owner);
    return true;
}

bool DialogBuilder::CreateDialogWindow(CWnd& dialog, CWnd* owner) const {
    QSize client(m_units.ToPixelsX(m_template.cx), m_units.ToPixelsY(m_template.cy));
    if (!dialog.CreateEx(m_template.exStyle, afx::kDialogClassName, m_template.title.c_str(),
                         m_template.style & ~WS_VISIBLE, CRect(0, 0, client.width(), client.height()), owner,
                         0))
        return false;
    auto* widget = dynamic_cast<DialogWidget*>(dialog.GetWidget());
    if (widget == nullptr)
        return false;
    widget->SetClientSize(client);
    ApplyFont(dialog);
    // Disabling the owner beforehand must not leave the dialog disabled with it.
    widget->setEnabled(true);
    return true;
}

std::unique_ptr<CWnd> DialogBuilder::CreateControl(CWnd& dialog, const DialogItemTemplate& item) const {
    std::unique_ptr<CWnd> control = NewWindowObject(item.className);
    QRect place = m_units.ToPixels(item.x, item.y, item.cx, item.cy);
    DWORD style = item.style | WS_CHILD;
    if (!control->CreateEx(item.exStyle, item.className.c_str(), item.text.c_str(), style, ToRect(place),
                           &dialog, static_cast<UINT>(item.id)))
        return nullptr;
    ApplyFont(*control);
    WidenOneLineText(*control, item);
    if ((style & WS_VISIBLE) == 0)
        control->GetWidget()->hide();
    if ((style & WS_DISABLED) != 0)
        control->EnableWindow(FALSE);
    return control;
}

// A label of one line whose text is wider in this desktop's font than in the font the template was
// laid out for grows to the right, as far as the dialog reaches, rather than losing its end.
void DialogBuilder::WidenOneLineText(CWnd& control, const DialogItemTemplate& item) const {
    if (strcasecmp(item.className.c_str(), "STATIC") != 0 || (item.style & SS_TYPEMASK) > SS_RIGHT)
        return;
    QWidget* widget = control.GetWidget();
    QFontMetrics metrics(widget->font());
    if (widget->height() >= 2 * metrics.lineSpacing())
        return;
    QString text = QString::fromLatin1(item.text.c_str());
    if ((item.style & SS_NOPREFIX) == 0)
        text.remove(QLatin1Char('&'));
    int needed = metrics.horizontalAdvance(text) + 2;
    int room = m_units.ToPixelsX(m_template.cx) - widget->x();
    if (needed > widget->width() && (item.style & SS_TYPEMASK) == SS_LEFT)
        widget->resize(std::min(needed, room), widget->height());
}

void DialogBuilder::ApplyFont(CWnd& wnd) const {
    if (m_uiFont)
        wnd.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(UserInterfaceFont()), FALSE);
    else
        wnd.GetWidget()->setFont(m_font);
}

void DialogBuilder::Place(CWnd& dialog, CWnd* owner) const {
    QWidget* widget = dialog.GetWidget();
    if (!widget->isWindow())
        return;
    // Centred over the owner's window, or on the screen when there is no owner in sight.
    QWidget* ownerWidget = owner ? owner->GetWidget() : nullptr;
    QScreen* screen = QGuiApplication::primaryScreen();
    QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QPoint centre =
        ownerWidget && ownerWidget->isVisible() ? ownerWidget->frameGeometry().center() : area.center();
    QRect frame(QPoint(0, 0), widget->size());
    frame.moveCenter(centre);
    frame.moveLeft(std::max(area.left(), std::min(frame.left(), area.right() - frame.width())));
    frame.moveTop(std::max(area.top(), std::min(frame.top(), area.bottom() - frame.height())));
    widget->move(frame.topLeft());
}
