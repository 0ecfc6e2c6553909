#pragma once

#include "window/listcombo.h"

#include <QLineEdit>
#include <QSignalBlocker>

// The Page list: the one list whose text can be typed. Typed text is never a
// selection: no entry stays selected while it is typed, and neither Enter,
// leaving the field nor completion picks one behind the operator's back.
class PageCombo : public ListCombo
{
public:
    explicit PageCombo(QWidget *parent = nullptr) : ListCombo(parent)
    {
        // The line edit that setEditable(true) would build, without the
        // hidden popup that it builds first.
        auto *edit = new QLineEdit(this);
        edit->setPalette(palette());
        setLineEdit(edit);
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
        disconnect(edit, &QLineEdit::editingFinished, this, nullptr);
        disconnect(edit, &QLineEdit::returnPressed, this, nullptr);
        connect(edit, &QLineEdit::textEdited, this, [this, edit](const QString &text) {
            const int cursor = edit->cursorPosition();
            const QSignalBlocker blocker(this);
            setCurrentIndex(-1);
            setEditText(text);
            edit->setCursorPosition(cursor);
        });
    }
};
