#pragma once

class QPainter;
class QStyleOptionButton;
class QWidget;

// A push button painted as Fusion paints it, with its panel painted in bands.
//
// Fusion renders a button's panel (a gradient and two outlines, anti-aliased)
// into an image of its own, and Qt's raster engine splits any fill of 96 spans
// or more across the global thread pool and waits for the pieces. A tall
// button's panel is such a fill, and so is every button's at a scale factor of
// 2: the first one starts the pool's threads, which costs far more than the
// fill and falls on the window's first paint. Here the same panel is painted
// into an image band by band, then the style paints the rest (caption, focus
// frame) over it, so the pixels are Fusion's own.

// Whether drawButtonInBands paints this button: only under Fusion itself, and
// only a plain button (not flat, not auto-default, without a menu, not a
// command link).
bool paintsInBands(const QStyleOptionButton &option, const QWidget *widget);

void drawButtonInBands(QPainter *painter, const QStyleOptionButton &option, const QWidget *widget);
