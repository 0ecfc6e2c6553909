#pragma once

#include <QComboBox>

// A drop-down list that says when its list is about to open, so that its
// entries' tooltips can be brought up to date first.
class PortCombo : public QComboBox
{
    Q_OBJECT

public:
    using QComboBox::QComboBox;

    void showPopup() override
    {
        emit aboutToShowPopup();
        QComboBox::showPopup();
    }

signals:
    void aboutToShowPopup();
};
