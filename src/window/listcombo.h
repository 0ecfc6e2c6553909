#pragma once

#include <QComboBox>
#include <QWheelEvent>

// A drop-down list that the mouse wheel changes only while it has the
// keyboard focus: a wheel turned over a list in passing picks nothing (over
// the Page list it would switch the controller's page on air). For a screen
// reader it is named by what it sets, not by its current entry.
//
// A list given a minimum contents length is as wide as that many "X" and an
// icon's room, whatever it holds, as Qt's AdjustToMinimumContentsLengthWithIcon
// sizes it; setting that policy would build the hidden popup (eight widgets)
// at start-up. The layouts ask for the hint often, so it is kept until the
// length, the font or the style change.
class ListCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit ListCombo(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void changeEvent(QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }

private:
    mutable QSize m_hint;
    mutable int m_hintChars = 0;
};
