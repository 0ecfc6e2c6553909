#pragma once

#include "window/listcombo.h"

// The Page list: the one list whose text can be typed. Typed text is never a
// selection: no entry stays selected while it is typed, and neither Enter,
// leaving the field nor completion picks one behind the operator's back.
class PageCombo : public ListCombo
{
    Q_OBJECT

public:
    explicit PageCombo(QWidget *parent = nullptr);

signals:
    // The operator typed into the list's text: no entry is selected now.
    void textTyped();
};
