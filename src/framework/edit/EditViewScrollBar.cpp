#include "framework/edit/EditViewScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace framework {

EditViewScrollBar::EditViewScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {}

void EditViewScrollBar::SetState(int maximum, int page, int value) {
    m_setting = true;
    setRange(0, maximum);
    setPageStep(page);
    setValue(value);
    m_setting = false;
    if (CurrentLook() != m_drawn)
        update();
}

EditViewScrollBar::Look EditViewScrollBar::CurrentLook() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    Look look;
    look.thumb = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    look.groove = style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, this);
    look.atStart = option.sliderPosition <= option.minimum;
    look.atEnd = option.sliderPosition >= option.maximum;
    return look;
}

void EditViewScrollBar::sliderChange(SliderChange change) {
    if (!m_setting)
        QScrollBar::sliderChange(change);
}

// Hover, presses, focus, resizing and the palette ask for their repaints themselves; whatever asked,
// what is drawn is remembered.
void EditViewScrollBar::paintEvent(QPaintEvent* event) {
    m_drawn = CurrentLook();
    QScrollBar::paintEvent(event);
}

} // namespace framework
