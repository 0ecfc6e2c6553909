#pragma once

#include "window/listcombo.h"

// The COM port list: it says when it is about to open, so that its entries'
// tooltips can be brought up to date first.
class PortCombo : public ListCombo
{
    Q_OBJECT

public:
    using ListCombo::ListCombo;

    void showPopup() override
    {
        emit aboutToShowPopup();
        QComboBox::showPopup();
    }

signals:
    void aboutToShowPopup();
};
