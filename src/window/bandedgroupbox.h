#pragma once

#include <QGroupBox>
#include <QPaintEvent>
#include <QStyleOptionGroupBox>
#include <QStylePainter>

// A group box that paints itself in bands of at most BandRows rows. Qt's
// raster engine splits a fill of 96 spans or more (a plain fill has one per
// row) across the global thread pool and waits for the pieces; the first such
// fill starts the pool's threads, which costs far more than the fill and falls
// on the window's first paint. A tall frame is such a fill (Fusion stretches a
// frame image down each side). Each band is the same style call clipped to its
// rows, so the pixels are those of a plain QGroupBox. Without Q_OBJECT it still
// reports itself as a QGroupBox.
class BandedGroupBox : public QGroupBox
{
public:
    static constexpr int BandRows = 64;

    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        QStylePainter painter(this);
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        const QRect dirty = event->rect();
        for (int top = dirty.top(); top <= dirty.bottom(); top += BandRows) {
            painter.setClipRect(QRect(dirty.left(), top, dirty.width(), qMin(BandRows, dirty.bottom() + 1 - top)));
            painter.drawComplexControl(QStyle::CC_GroupBox, option);
        }
    }
};
