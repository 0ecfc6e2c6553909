#include "window/listcombo.h"
#include "window/pagecombo.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QValidator>

namespace {

// On Linux Qt gives a drop-down list its current entry as its name, so a
// screen reader hears "COM 1" and not what the list sets. A list here is
// named by its accessible name or its label and tells its entry as its value;
// like Qt's own, its children are the entries' view and the typed text.
class ListComboAccessible : public QAccessibleWidget
{
public:
    explicit ListComboAccessible(QComboBox *combo) : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return combo()->currentText();
        const QString text = QAccessibleWidget::text(t);
        return text.isEmpty() && t == QAccessible::Name ? combo()->currentText() : text;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = combo()->view()->isVisible();
        state.editable = combo()->isEditable();
        return state;
    }

    int childCount() const override { return combo()->lineEdit() ? 2 : 1; }

    QAccessibleInterface *child(int index) const override
    {
        QWidget *children[] = {combo()->view(), combo()->lineEdit()};
        return index >= 0 && index < childCount() ? QAccessible::queryAccessibleInterface(children[index]) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child->object() == combo()->view())
            return 0;
        return combo()->lineEdit() && child->object() == combo()->lineEdit() ? 1 : -1;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }

    void doAction(const QString &action) override
    {
        if (action != showMenuAction() && action != pressAction())
            QAccessibleWidget::doAction(action);
        else if (combo()->view()->isVisible())
            combo()->hidePopup();
        else
            combo()->showPopup();
    }

private:
    QComboBox *combo() const { return static_cast<QComboBox *>(widget()); }
};

QAccessibleInterface *listComboAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1String("ListCombo") && object->isWidgetType())
        return new ListComboAccessible(static_cast<QComboBox *>(object));
    return nullptr;
}

} // namespace

ListCombo::ListCombo(QWidget *parent) : QComboBox(parent)
{
    // Qt's default, WheelFocus, would hand the focus over with the wheel.
    setFocusPolicy(Qt::StrongFocus);
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(listComboAccessible);
        return true;
    }();
    Q_UNUSED(accessibleInstalled)
}

namespace {

// A combo box picks the entry that its typed text names when the text is
// accepted (Enter, leaving the field); the Page list's typed text is never
// acceptable input, only something to look at.
class NeverAccepted : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &, int &) const override { return Intermediate; }
};

} // namespace

PageCombo::PageCombo(QWidget *parent) : ListCombo(parent)
{
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setValidator(new NeverAccepted(this));
    connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString &text) {
        const int cursor = lineEdit()->cursorPosition();
        {
            const QSignalBlocker blocker(this);
            setCurrentIndex(-1);
            setEditText(text);
        }
        lineEdit()->setCursorPosition(cursor);
        emit textTyped();
    });
}
