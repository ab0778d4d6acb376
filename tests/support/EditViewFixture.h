#pragma once
// An edit view shown offscreen, with a repaint scheduler of its own, and a picture of its window.

#include <QImage>
#include <gtest/gtest.h>

#include "framework/edit/EditView.h"
#include "framework/base/RepaintScheduler.h"

class EditViewFixture : public ::testing::Test {
protected:
    explicit EditViewFixture(int width = 400, int height = 200) : view(nullptr, &scheduler) {
        view.resize(width, height);
        view.show();
    }

    QImage Render() {
        QImage image(view.viewport()->size(), QImage::Format_RGB32);
        view.viewport()->render(&image);
        return image;
    }

    framework::RepaintScheduler scheduler;
    framework::EditView view;
};
