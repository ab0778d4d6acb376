#include "framework/controls/ButtonMessages.h"

#include <QAbstractButton>
#include <QKeySequence>

#include "framework/controls/ControlSupport.h"
#include "framework/controls/DialogConstants.h"
#include "framework/base/Latin1Text.h"

namespace afx {

void ShowButtonText(QAbstractButton& button, std::string_view text) {
    button.setText(FromLatin1(text));
    button.setShortcut(QKeySequence());
}

bool CommonButtonMessage(QAbstractButton& button, std::string& text, UINT message, WPARAM wParam,
                         LPARAM lParam, LRESULT& result) {
    if (TextOfMessage(message, lParam, text)) {
        ShowButtonText(button, text);
        result = message == WM_SETTEXT ? TRUE : 0;
        return message == WM_SETTEXT;
    }
    if (message == BM_CLICK) {
        button.click();
        result = 0;
        return true;
    }
    return AnswerTextQuery(text, message, wParam, lParam, result);
}

} // namespace afx
