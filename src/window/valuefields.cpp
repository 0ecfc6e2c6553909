#include "window/valuefields.h"

#include "window/controls.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Controls;

namespace {

// A value field as wide as one hexadecimal digit more than it holds: the
// extra digit is room for the text margins and the cursor.
void fitDigits(QLineEdit *edit)
{
    const QFontMetrics metrics = edit->fontMetrics();
    int digit = 0;
    for (const QChar c : QStringLiteral("0123456789ABCDEF"))
        digit = qMax(digit, metrics.horizontalAdvance(c));
    // The minimum hint holds the frame around one widest glyph of the font.
    const int frame = edit->minimumSizeHint().width() - metrics.maxWidth();
    edit->setFixedWidth(frame + digit * (edit->maxLength() + 1));
}

} // namespace

ValueFields::ValueFields(Console &console, QWidget *parent) : QWidget(parent), m_console(console)
{
    using Value = ConsoleState::Value;
    const struct
    {
        Value value;
        const char *name;
        const char *labelName;
        const char *caption;
        int row, column;
    } fields[] = {
        {Value::LeftOffset, "LeftOffset", "Label4", "Left Offset (000-3FF):", 0, 0},
        {Value::TransparencyValue, "TransparencyValue", "Label3", "Transparency Value (0-15) :", 0, 2},
        {Value::HPos, "HPos", "Label6", "Horizontal Position (00-FF):", 1, 0},
        {Value::VPos, "VPos", "Label7", "Vertical Position (00-FF):", 1, 2},
    };
    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(gap);
    for (const auto &f : fields) {
        QLineEdit *edit = textBox(this, f.name, console.state().value(f.value), ConsoleState::valueWidth(f.value));
        m_fields[size_t(f.value)] = edit;
        grid->addWidget(label(this, f.labelName, QLatin1String(f.caption), edit), f.row, f.column, Qt::AlignRight);
        grid->addWidget(edit, f.row, f.column + 1, Qt::AlignLeft);
        fitDigits(edit);
        connect(edit, &QLineEdit::textEdited, this,
                [this, edit, value = f.value] { m_console.state().setValue(value, edit->text()); });
    }
    connect(&console.state(), &ConsoleState::valueChanged, this,
            [this](ConsoleState::Value value) { Controls::show(field(value), m_console.state().value(value)); });
}
