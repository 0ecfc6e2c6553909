#pragma once

#include "window/listcombo.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>

// The Page list: the one list whose text can be typed. Typed text is never a
// selection: no entry stays selected while it is typed, and neither Enter,
// leaving the field nor completion picks one behind the operator's back.
class PageCombo : public ListCombo
{
public:
    explicit PageCombo(QWidget *parent = nullptr) : ListCombo(parent)
    {
        setEditable(true);
        setCompleter(nullptr);
        setInsertPolicy(QComboBox::NoInsert);
        // A combo box picks the entry that its typed text names when the text
        // is accepted (Enter, leaving the field); typed text here is never
        // acceptable input, only something to look at.
        setValidator(new NeverAccepted(this));
        connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
            const int cursor = lineEdit()->cursorPosition();
            const QSignalBlocker blocker(this);
            setCurrentIndex(-1);
            setEditText(text);
            lineEdit()->setCursorPosition(cursor);
        });
    }

private:
    class NeverAccepted : public QValidator
    {
    public:
        using QValidator::QValidator;
        State validate(QString &, int &) const override { return Intermediate; }
    };
};
