// The caret of a focused view: shown and still while the text keeps changing, blinking once it
// stops. Every blink that turns it off is a frame of its own, so the paints tell.
#include <gtest/gtest.h>

#include <QEvent>
#include <QTest>
#include <QTimer>

#include "support/EditViewFixture.h"

namespace {

class PaintCount : public QObject {
public:
    explicit PaintCount(QWidget* widget) { widget->installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

class EditViewCaretTest : public EditViewFixture {
protected:
    EditViewCaretTest() {
        view.activateWindow();
        view.setFocus();
        QTest::qWait(50);
    }
};

// A character every 100 ms for about three blinks' time: each is drawn by a frame of its own, and
// nothing else is; the blinks would add a frame each, turning the caret off between characters.
TEST_F(EditViewCaretTest, StaysShownWhileTheTextKeepsChangingAndBlinksOnceItStops) {
    ASSERT_TRUE(view.hasFocus());
    PaintCount count(view.viewport());
    constexpr int kChars = 17;
    int sent = 0;
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, [&] {
        if (sent < kChars)
            view.DefaultChar(static_cast<unsigned char>('a' + sent++));
    });
    typist.start(100);
    QTest::qWait(kChars * 100 + 60);
    typist.stop();
    ASSERT_EQ(sent, kChars);
    EXPECT_LE(count.paints, kChars + 1) << "the caret blinked while the text changed";
    EXPECT_GE(count.paints, kChars - 1) << "the characters were not drawn as they came";

    const int whileChanging = count.paints;
    QTest::qWait(1400);
    EXPECT_GE(count.paints - whileChanging, 2) << "the caret did not blink once the text stopped";
}

} // namespace
