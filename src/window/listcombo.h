#pragma once

#include <QComboBox>
#include <QWheelEvent>

// A drop-down list that the mouse wheel changes only while it has the
// keyboard focus: a wheel turned over a list in passing picks nothing (over
// the Page list it would switch the controller's page on air).
class ListCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit ListCombo(QWidget *parent = nullptr) : QComboBox(parent)
    {
        // Qt's default, WheelFocus, would hand the focus over with the wheel.
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};
