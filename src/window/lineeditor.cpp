#include "window/lineeditor.h"

#include "window/commandbuttons.h"
#include "window/controls.h"
#include "window/valuefields.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

using namespace Controls;

namespace {

// The entry that a line file can make the widest: "Line 255".
constexpr int ItemListChars = 8;

} // namespace

LineEditor::LineEditor(Console &console, QWidget *parent) : QGroupBox(parent), m_console(console)
{
    setObjectName(QStringLiteral("Frame1"));
    m_values = new ValueFields(console, this);
    m_commands = new CommandButtons(
        console, [this] { return selectedLine(); }, this);
    ClearAllBtn = button(this, "ClearAllBtn", QStringLiteral("Clear &All"));
    ClearBtn = button(this, "ClearBtn", QStringLiteral("C&lear"));
    LineText = textBox(this, "LineText", QString(), 255);
    LineList = dropDown(this, "LineList", QStringLiteral("Line Number"));
    LineList->setMinimumContentsLength(ItemListChars);
    LineList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label5 = label(this, "Label5", QStringLiteral("Text"), LineText);
    Label2 = label(this, "Label2", QStringLiteral("Line Number"), LineList);

    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *lines = new QGridLayout;
    lines->setSpacing(gap);
    lines->addWidget(Label2, 0, 0);
    lines->addWidget(Label5, 0, 1);
    lines->addWidget(LineList, 1, 0);
    lines->addWidget(LineText, 1, 1);
    // The clear buttons stand at the right of the values' first row.
    auto *values = new QGridLayout;
    values->setSpacing(gap);
    values->addWidget(m_values, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    values->setColumnStretch(1, 1);
    values->addWidget(ClearBtn, 0, 2);
    values->addWidget(ClearAllBtn, 0, 3);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(gap, gap, gap, gap);
    column->setSpacing(gap);
    column->addLayout(lines);
    column->addLayout(values);
    column->addWidget(m_commands);

    // Only the operator's edits reach the store: showing a text longer than
    // the field's limit cuts it in the field, never in the store.
    connect(LineText, &QLineEdit::textEdited, this, &LineEditor::LineText_Change);
    // A pick by the operator; the list's own index changes while it is
    // rebuilt are no selections.
    connect(LineList, &QComboBox::activated, this, &LineEditor::LineList_Click);
    connect(ClearBtn, &QPushButton::clicked, this, &LineEditor::ClearBtn_Click);
    connect(ClearAllBtn, &QPushButton::clicked, this, &LineEditor::ClearAllBtn_Click);
    const ConsoleState &state = console.state();
    connect(&state, &ConsoleState::linesRebuilt, this, &LineEditor::FillLineList);
    connect(&state, &ConsoleState::lineTextsChanged, this, &LineEditor::LineList_Click);
    connect(&state, &ConsoleState::lineTextChanged, this, [this](int index) {
        if (index == selectedLine())
            LineList_Click();
    });
}

int LineEditor::selectedLine() const
{
    return LineList->currentIndex();
}

QWidgetList LineEditor::tabOrder() const
{
    using Value = ConsoleState::Value;
    return {LineList, LineText,    m_values->field(Value::LeftOffset), m_values->field(Value::TransparencyValue),
            ClearBtn, ClearAllBtn, m_values->field(Value::HPos),       m_values->field(Value::VPos)};
}

void LineEditor::FillLineList()
{
    {
        const QSignalBlocker blocker(LineList);
        LineList->clear();
        LineList->addItems(numbered(QStringLiteral("Line %1"), m_console.state().lineCount()));
        LineList->setCurrentIndex(0);
    }
    LineList_Click();
}

void LineEditor::LineList_Click()
{
    const int index = selectedLine();
    if (LineStore::isIndex(index))
        Controls::show(LineText, m_console.state().lineTexts().text(index));
}

void LineEditor::LineText_Change()
{
    m_console.state().setLineText(selectedLine(), LineText->text());
}

void LineEditor::ClearBtn_Click()
{
    LineText->clear();
    m_console.state().setLineText(selectedLine(), QString());
}

void LineEditor::ClearAllBtn_Click()
{
    m_console.state().clearLines();
    LineText->clear();
}
