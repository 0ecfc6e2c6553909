#include "window/bandedbutton.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

// Device rows per band. The panel gives two or three spans a row at a scale
// factor of 1, and more at higher factors, where an outline is wider than a
// device pixel and partly covers the pixels at its edges: at 1, 1.25, 1.5, 2, 2.5
// and 3 no band reaches 96 (at 1.75 a few still do). Each band draws the
// outlines again, so thinner bands would cost more than they save.
constexpr int BandRows = 16;

// Fusion's colours for a button panel, worked out from the palette as Fusion
// works them out.
QColor buttonColor(const QPalette &palette)
{
    QColor color = palette.button().color();
    const int gray = qGray(color.rgb());
    color = color.lighter(100 + qMax(1, (180 - gray) / 6));
    color.setHsv(color.hue(), static_cast<int>(color.saturation() * 0.75), color.value());
    return color;
}

QColor outlineColor(const QPalette &palette)
{
    if (palette.window().style() == Qt::TexturePattern)
        return QColor(0, 0, 0, 160);
    return palette.window().color().darker(140);
}

QColor highlightedOutline(const QPalette &palette)
{
    QColor color = palette.color(QPalette::Highlight).darker(125);
    if (color.value() > 160)
        color.setHsl(color.hue(), color.saturation(), 160);
    return color;
}

// percent of a, the rest of b, channel by channel.
QColor mixed(const QColor &a, const QColor &b, int percent)
{
    QColor mix = a;
    mix.setRed(a.red() * percent / 100 + b.red() * (100 - percent) / 100);
    mix.setGreen(a.green() * percent / 100 + b.green() * (100 - percent) / 100);
    mix.setBlue(a.blue() * percent / 100 + b.blue() * (100 - percent) / 100);
    return mix;
}

// The panel in rect (at 0, 0), with painter's clip limited to the band.
void drawPanel(QPainter &painter, const QStyleOptionButton &option, const QRect &rect)
{
    const QStyle::State state = option.state;
    const bool enabled = state & QStyle::State_Enabled;
    const bool isDefault = (option.features & QStyleOptionButton::DefaultButton) && enabled;
    const bool down = state & (QStyle::State_Sunken | QStyle::State_On);
    const bool focused = (state & QStyle::State_HasFocus) && (state & QStyle::State_KeyboardFocusChange);

    QColor face = buttonColor(option.palette);
    if (isDefault)
        face = mixed(face, highlightedOutline(option.palette).lighter(130), 90);
    const QColor outline = focused || isDefault ? highlightedOutline(option.palette) : outlineColor(option.palette);

    const QColor top = enabled && (state & QStyle::State_MouseOver) ? face : face.darker(104);
    QLinearGradient gradient(rect.center().x(), rect.top(), rect.center().x(), rect.bottom());
    gradient.setColorAt(0, top.lighter(124));
    gradient.setColorAt(1, top.lighter(102));

    const QRect r = rect.adjusted(0, 1, -1, 0);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.translate(0.5, -0.5);
    painter.setPen(Qt::transparent);
    painter.setBrush(down ? QBrush(face.darker(110)) : QBrush(gradient));
    painter.drawRoundedRect(r, 2.0, 2.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(enabled ? outline : outline.lighter(115));
    painter.drawRoundedRect(r, 2.0, 2.0);
    painter.setPen(QColor(255, 255, 255, 30));
    painter.drawRoundedRect(r.adjusted(1, 1, -1, -1), 2.0, 2.0);
}

} // namespace

bool paintsInBands(const QStyleOptionButton &option, const QWidget *widget)
{
#ifdef Q_OS_MACOS
    // Fusion takes the system's highlight colour there.
    Q_UNUSED(option)
    Q_UNUSED(widget)
    return false;
#else
    constexpr auto Unusual = QStyleOptionButton::Flat | QStyleOptionButton::HasMenu
                             | QStyleOptionButton::CommandLinkButton | QStyleOptionButton::AutoDefaultButton;
    return widget && !option.rect.isEmpty() && !(option.features & Unusual)
           && qstrcmp(widget->style()->metaObject()->className(), "QFusionStyle") == 0;
#endif
}

void drawButtonInBands(QPainter *painter, const QStyleOptionButton &option, const QWidget *widget)
{
    const qreal ratio = painter->device()->devicePixelRatio();
    QImage panel(option.rect.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    panel.fill(Qt::transparent);
    {
        QPainter bands(&panel);
        for (int top = 0; top < panel.height(); top += BandRows) {
            // The clip is set in device rows, before the scale.
            bands.save();
            bands.setClipRect(QRect(0, top, panel.width(), BandRows));
            bands.scale(ratio, ratio);
            drawPanel(bands, option, QRect(QPoint(), option.rect.size()));
            bands.restore();
        }
    }
    panel.setDevicePixelRatio(ratio);
    painter->drawImage(option.rect.topLeft(), panel);

    // The style paints the rest over it: a flat button that is not down has no
    // panel in Fusion, and Fusion's caption never moves when pressed.
    QStyleOptionButton rest = option;
    rest.features = QStyleOptionButton::Flat;
    rest.state &= ~(QStyle::State_Sunken | QStyle::State_On);
    widget->style()->drawControl(QStyle::CE_PushButton, &rest, painter, widget);
}
