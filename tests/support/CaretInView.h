#pragma once
// The edit view shows its caret: the caret's line and column lie inside the window, and once the
// frame has come the scroll bars stand where the view says it is scrolled to.

#include <QCoreApplication>
#include <QEvent>
#include <QScrollBar>
#include <gtest/gtest.h>

#include "framework/base/RepaintScheduler.h"
#include "framework/edit/EditView.h"

inline void ExpectCaretInView(framework::EditView& view) {
    EXPECT_LE(view.FirstVisibleLine(), view.CaretLine());
    EXPECT_LT(view.CaretLine(), view.FirstVisibleLine() + view.VisibleLines());
    EXPECT_LE(view.HorizontalOffset(), view.CaretColumn());
    EXPECT_LT(view.CaretColumn(), view.HorizontalOffset() + view.VisibleColumns());
    QEvent frame(framework::RepaintScheduler::FrameEventType());
    QCoreApplication::sendEvent(&view, &frame);
    EXPECT_EQ(view.FirstVisibleLine(), static_cast<std::size_t>(view.verticalScrollBar()->value()));
    EXPECT_EQ(view.HorizontalOffset(), static_cast<std::size_t>(view.horizontalScrollBar()->value()));
}
