#pragma once

#include <QComboBox>
#include <QWheelEvent>

// A drop-down list that the mouse wheel changes only while it has the
// keyboard focus: a wheel turned over a list in passing picks nothing (over
// the Page list it would switch the controller's page on air). For a screen
// reader it is named by what it sets, not by its current entry.

class ListCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit ListCombo(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override
    {
        if (hasFocus())
            QComboBox::wheelEvent(event);
        else
            event->ignore();
    }
};
