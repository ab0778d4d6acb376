#pragma once
// A scroll bar that its view moves without redrawing it when what it shows stays the same. A
// terminal receiving text moves its vertical bar at every frame, but once the text is long the
// thumb is at its smallest and moves by a pixel only now and then; drawing the bar at every frame
// would cost a third as much again as drawing the text.

#include <QRect>
#include <QScrollBar>

namespace framework {

class EditViewScrollBar : public QScrollBar {
public:
    EditViewScrollBar(Qt::Orientation orientation, QWidget* parent);

    // Range (from 0), page and value together, redrawn only if the drawing changes. Moves made
    // any other way (the user's, through the base class) are drawn as usual.
    void SetState(int maximum, int page, int value);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // What range, page and value decide in the drawing: where the parts are, and whether the thumb
    // stands at either end.
    struct Look {
        QRect thumb;
        QRect groove;
        bool atStart = false;
        bool atEnd = false;
        friend bool operator==(const Look&, const Look&) = default;
    };
    Look CurrentLook() const;

    Look m_drawn;
    bool m_setting = false;
};

} // namespace framework
