#include "window/listcombo.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QStyleOptionComboBox>
#include <QtMath>

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

QSize ListCombo::sizeHint() const
{
    const int chars = minimumContentsLength();
    if (chars <= 0)
        return QComboBox::sizeHint();
    if (m_hint.isValid() && m_hintChars == chars)
        return m_hint;
    const QFontMetrics metrics = fontMetrics();
    const QSize icon = iconSize();
    const QSize contents(chars * metrics.horizontalAdvance(QLatin1Char('X')) + icon.width() + 4,
                         qMax(qMax(qCeil(QFontMetricsF(metrics).height()), 14) + 2, icon.height() + 2));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    m_hint = style()->sizeFromContents(QStyle::CT_ComboBox, &option, contents, this);
    m_hintChars = chars;
    return m_hint;
}

QSize ListCombo::minimumSizeHint() const
{
    return minimumContentsLength() > 0 ? sizeHint() : QComboBox::minimumSizeHint();
}

void ListCombo::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        m_hint = QSize();
    QComboBox::changeEvent(event);
}
