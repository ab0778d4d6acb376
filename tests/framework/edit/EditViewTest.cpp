#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "framework/edit/EditView.h"
#include "framework/base/RepaintScheduler.h"
#include "support/EditViewFixture.h"

using framework::EditView;

namespace {

class EditViewTest : public EditViewFixture {
protected:
    EditViewTest() : EditViewFixture(400, 300) {}

    std::string Text() const { return view.Text(); }
    void Set(const std::string& text) { view.SetText(text.data(), text.size()); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(&view, Qt::Key(key), modifiers);
    }
    std::pair<std::size_t, std::size_t> Selection() const {
        std::size_t start = 0;
        std::size_t end = 0;
        view.GetSel(start, end);
        return {start, end};
    }
    // Opens the context menu as a right click does; it stays open without blocking.
    void OpenMenu() {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), view.mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(view.viewport(), &event);
    }
    // Opens the menu and chooses one of its items.
    void Choose(const QString& text) {
        OpenMenu();
        QAction* action = Action(text);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isEnabled()) << text.toStdString();
        action->trigger();
        view.ContextMenu()->hide();
    }
    QAction* Action(const QString& text) const {
        for (QAction* action : view.ContextMenu()->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }
};

using Range = std::pair<std::size_t, std::size_t>;

} // namespace

TEST_F(EditViewTest, TypedCharactersGoToTheHandlerWhenSet) {
    std::vector<std::pair<unsigned, bool>> typed;
    view.SetTypedCharHandler([&](unsigned code, bool autoRepeat) { typed.emplace_back(code, autoRepeat); });
    Set("ab");
    view.SetSel(2, 2);
    Key(Qt::Key_X);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    Key(Qt::Key_Tab);
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Q, Qt::NoModifier, "Q", true); // the text says Caps Lock
    QApplication::sendEvent(&view, &repeated);
    Key(Qt::Key_Left);
    QInputMethodEvent composed; // composed text is typed as Latin-1, and what lies outside it not at all
    composed.setCommitString(QString::fromUtf8("é€a\xF0\x9F\x98\x80"));
    QApplication::sendEvent(&view, &composed);
    EXPECT_EQ(Text(), "ab") << "the handler decides what is shown";
    const std::vector<std::pair<unsigned, bool>> expected{
        {'x', false}, {8, false}, {13, false}, {9, false}, {'Q', true}, {0xE9, false}, {'a', false}};
    EXPECT_EQ(typed, expected);
    EXPECT_EQ(Selection(), Range(1, 1)) << "navigation keys still move the caret";

    view.SetTypedCharHandler(nullptr);
    Key(Qt::Key_Y);
    EXPECT_EQ(Text(), "ayb");
}

TEST_F(EditViewTest, NavigationKeysTreatCrLfAsOneBreak) {
    Set("abc\r\nde\r\n\r\nfghij");
    view.SetSel(3, 3);
    Key(Qt::Key_Right);
    EXPECT_EQ(Selection(), Range(5, 5));
    Key(Qt::Key_Left);
    EXPECT_EQ(Selection(), Range(3, 3));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Selection(), Range(3, 5));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "abcde\r\n\r\nfghij");
    Key(Qt::Key_End);
    EXPECT_EQ(Selection(), Range(5, 5));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Text(), "abcde\r\nfghij") << "Delete at a break removes both bytes";
    Key(Qt::Key_Home);
    EXPECT_EQ(Selection(), Range(0, 0));
    Key(Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Selection(), Range(0, 12));
    Key(Qt::Key_Left);
    EXPECT_EQ(Selection(), Range(0, 0)) << "Left collapses a selection to its start";
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(Selection(), Range(5, 5));
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Selection(), Range(0, 0));
}

TEST_F(EditViewTest, UpAndDownKeepTheColumn) {
    Set("abcdef\r\nab\r\nabcdef\r\n\tx");
    view.SetSel(5, 5);
    Key(Qt::Key_Down);
    EXPECT_EQ(Selection(), Range(10, 10)) << "end of the short line";
    Key(Qt::Key_Down);
    EXPECT_EQ(Selection(), Range(17, 17)) << "back to column 5";
    EXPECT_EQ(view.CaretColumn(), 5u);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selection(), Range(17, 21)) << "column 5 is nearer the start of the tab";
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    Key(Qt::Key_Up);
    EXPECT_EQ(Selection(), Range(5, 5));
    Key(Qt::Key_Up);
    EXPECT_EQ(Selection(), Range(5, 5)) << "nothing above the first line";
    Key(Qt::Key_PageDown);
    EXPECT_EQ(view.CaretLine(), 3u);
}

TEST_F(EditViewTest, MouseSelects) {
    Set("hello world\r\nsecond line");
    const int y0 = view.LineHeight() / 2;
    const int y1 = y0 + view.LineHeight();
    const auto x = [&](int column) { return static_cast<int>(column * view.CellWidth()); };
    QWidget* area = view.viewport();
    QTest::mouseClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(x(6), y0));
    EXPECT_EQ(Selection(), Range(6, 6));
    QTest::mouseClick(area, Qt::LeftButton, Qt::ShiftModifier, QPoint(x(3), y1));
    EXPECT_EQ(Selection(), Range(6, 16));
    QTest::mousePress(area, Qt::LeftButton, Qt::NoModifier, QPoint(x(1), y0));
    QTest::mouseMove(area, QPoint(x(40), y1));
    QMouseEvent move(QEvent::MouseMove, QPointF(x(40), y1), area->mapToGlobal(QPointF(x(40), y1)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &move);
    QTest::mouseRelease(area, Qt::LeftButton, Qt::NoModifier, QPoint(x(40), y1));
    EXPECT_EQ(Selection(), Range(1, 24)) << "dragging past the end of a line selects to its end";
    QTest::mouseDClick(area, Qt::LeftButton, Qt::NoModifier, QPoint(x(8), y0));
    EXPECT_EQ(Selection(), Range(6, 11));
}

TEST_F(EditViewTest, CopyAndPasteThroughTheClipboard) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    Set(std::string("ab\r\nc\xE9\x01", 7));
    view.SetSel(1, 7);
    Key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QString::fromUtf8("b\ncé\x01"));

    clipboard->setText(QString::fromUtf8("x\ny\rz\r\n€"));
    view.SetSel(0, 1);
    std::vector<unsigned> typed;
    view.SetTypedCharHandler([&](unsigned code, bool) { typed.push_back(code); });
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    EXPECT_EQ(Text(), std::string("x\r\ny\r\nz\r\n?b\r\nc\xE9\x01", 16));
    EXPECT_EQ(Selection(), Range(10, 10)) << "caret after the pasted text";
    EXPECT_TRUE(typed.empty()) << "pasting types nothing";
}

TEST_F(EditViewTest, ContextMenuCopiesPastesAndSelectsAll) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    Set("one two");
    ASSERT_NE(Action("Copy"), nullptr);
    ASSERT_NE(Action("Paste"), nullptr);
    ASSERT_NE(Action("Select All"), nullptr);

    OpenMenu();
    EXPECT_TRUE(view.ContextMenu()->isVisible()) << "shown without blocking the caller";
    EXPECT_FALSE(Action("Copy")->isEnabled()) << "nothing selected";
    view.ContextMenu()->hide();

    Choose("Select All");
    EXPECT_EQ(Selection(), Range(0, 7));
    Choose("Copy");
    EXPECT_EQ(clipboard->text(), "one two");
    view.SetSel(3, 3);
    Choose("Paste");
    EXPECT_EQ(Text(), "oneone two two");
    clipboard->clear();
    OpenMenu();
    EXPECT_FALSE(Action("Paste")->isEnabled()) << "nothing to paste";
    view.ContextMenu()->hide();
}
