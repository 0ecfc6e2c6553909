#pragma once

#include "console/console.h"

#include <QPushButton>
#include <QString>
#include <QStringList>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

// The controls every panel builds, each carrying the name by which the
// operator's documentation knows it.
namespace Controls {

template<typename W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QGroupBox *group(QWidget *parent, const char *name, const QString &caption = {});
QPushButton *button(QWidget *parent, const char *name, const QString &caption);
// A label names its field for screen readers too.
QLabel *label(QWidget *parent, const char *name, const QString &caption, QWidget *field = nullptr);
// A one-line field: a pasted or dropped line break becomes a space, or with
// dropBreaks, nothing at all.
QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, int maxLength, bool dropBreaks = false);
// A drop-down list, named for screen readers by what it sets.
QComboBox *dropDown(QWidget *parent, const char *name, const QString &setting, const QStringList &entries = {});
// "Line 1", "Line 2", ...
QStringList numbered(const QString &pattern, int count);
// Sets a field's text from the work, where it differs, without moving the
// cursor of a field being typed in more than it must.
void show(QLineEdit *field, const QString &text);

// Runs action when the button is pressed, with the console told that the
// button's caption acts.
template<typename Action>
void onClick(QPushButton *button, Console &console, Action action)
{
    QObject::connect(button, &QPushButton::clicked, button, [button, &console, action] {
        const Console::Acting acting(console, button->text());
        action();
    });
}

} // namespace Controls
