#pragma once

#include "console/consolestate.h"

#include <QWidget>

#include <array>

class Console;
class QLineEdit;

// The four display values, each a field beside its label, two to a row:
// left offset and transparency, then the horizontal and vertical position.
// Each field and the work follow each other.
class ValueFields : public QWidget
{
    Q_OBJECT

public:
    ValueFields(Console &console, QWidget *parent);

    QLineEdit *field(ConsoleState::Value value) const { return m_fields[size_t(value)]; }

private:
    Console &m_console;
    std::array<QLineEdit *, 4> m_fields{};
};
