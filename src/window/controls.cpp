#include "window/controls.h"

#include "store/oneline.h"
#include "window/listcombo.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QStyleOptionButton>

namespace {

// A push button as wide as its caption inside the style's frame, with a little
// room on each side. Styles pad a short caption out to a minimum width (Fusion:
// 80 px) and add margins that the rows have no room for at an 11-pixel font.
class CaptionButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

    QSize sizeHint() const override
    {
        QStyleOptionButton option;
        initStyleOption(&option);
        const int wide = 1000;
        option.rect = QRect(0, 0, wide, wide);
        const int frame = wide - style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).width();
        const int room = qMax(2, fontMetrics().height() / 6);
        const int caption = fontMetrics().size(Qt::TextShowMnemonic, text()).width();
        return {caption + frame + 2 * room, QPushButton::sizeHint().height()};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }
};

} // namespace

namespace Controls {

QGroupBox *group(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QGroupBox(caption, parent), name);
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = named(new CaptionButton(caption, parent), name);
    b->setAutoDefault(false);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &caption, QWidget *field)
{
    auto *l = named(new QLabel(caption, parent), name);
    l->setBuddy(field);
    return l;
}

QLineEdit *textBox(QWidget *parent, const char *name, const QString &text, int maxLength, bool dropBreaks)
{
    auto *edit = named(new QLineEdit(parent), name);
    edit->setMaxLength(maxLength);
    edit->setText(text);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit, dropBreaks](const QString &typed) {
        if (!OneLine::isOneLine(typed))
            edit->setText(dropBreaks ? OneLine::withoutBreaks(typed) : OneLine::fromPasted(typed));
    });
    return edit;
}

QComboBox *dropDown(QWidget *parent, const char *name, const QString &setting, const QStringList &entries)
{
    auto *combo = named(new ListCombo(parent), name);
    combo->setAccessibleName(setting);
    combo->addItems(entries);
    combo->setCurrentIndex(-1);
    return combo;
}

QStringList numbered(const QString &pattern, int count)
{
    QStringList entries;
    for (int n = 1; n <= count; ++n)
        entries << pattern.arg(n);
    return entries;
}

void show(QLineEdit *field, const QString &text)
{
    if (field->text() != text.left(field->maxLength()))
        field->setText(text);
}

} // namespace Controls
