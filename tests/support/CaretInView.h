#pragma once
// The edit view shows its caret: the caret's line and column lie inside the window, and the scroll
// bars stand where the view says it is scrolled to.

#include <QScrollBar>
#include <gtest/gtest.h>

#include "framework/edit/EditView.h"

inline void ExpectCaretInView(const framework::EditView& view) {
    EXPECT_LE(view.FirstVisibleLine(), view.CaretLine());
    EXPECT_LT(view.CaretLine(), view.FirstVisibleLine() + view.VisibleLines());
    EXPECT_LE(view.HorizontalOffset(), view.CaretColumn());
    EXPECT_LT(view.CaretColumn(), view.HorizontalOffset() + view.VisibleColumns());
    EXPECT_EQ(view.FirstVisibleLine(), static_cast<std::size_t>(view.verticalScrollBar()->value()));
    EXPECT_EQ(view.HorizontalOffset(), static_cast<std::size_t>(view.horizontalScrollBar()->value()));
}
