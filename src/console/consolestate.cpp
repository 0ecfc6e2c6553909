#include "console/consolestate.h"

#include "store/oneline.h"

ConsoleState::ConsoleState(QObject *parent) : QObject(parent)
{
}

const QStringList &ConsoleState::baudRates()
{
    static const QStringList rates{"110",   "300",   "1200",   "2400",   "4800",   "9600",  "19200",
                                   "38400", "57600", "115200", "230400", "460800", "921600"};
    return rates;
}

int ConsoleState::valueWidth(Value value)
{
    return value == Value::LeftOffset ? 3 : 2;
}

PortSettings ConsoleState::portSettings() const
{
    PortSettings settings;
    settings.port = m_comPortIndex + 1;
    settings.baudRate = baudRates().value(m_baudRateIndex).toInt();
    return settings;
}

void ConsoleState::setLineText(int index, const QString &text)
{
    loadLineText(index, OneLine::fromPasted(text));
}

void ConsoleState::loadLineText(int index, const QString &text)
{
    if (!LineStore::isIndex(index) || LineTexts.text(index) == text)
        return;
    LineTexts.setText(index, text);
    emit lineTextChanged(index);
}

void ConsoleState::clearLines()
{
    LineTexts.clear(LineCount);
    emit lineTextsChanged();
}

void ConsoleState::setValue(Value value, const QString &text)
{
    const QString shown = OneLine::fromPasted(text).left(valueWidth(value));
    if (m_values[size_t(value)] == shown)
        return;
    m_values[size_t(value)] = shown;
    emit valueChanged(value);
}

void ConsoleState::setComPortIndex(int index)
{
    if (index == m_comPortIndex || index < -1 || index >= ComPortEntries)
        return;
    m_comPortIndex = index;
    emit portSelectionChanged();
}

void ConsoleState::setBaudRateIndex(int index)
{
    if (index == m_baudRateIndex || index < -1 || index >= baudRates().size())
        return;
    m_baudRateIndex = index;
    emit portSelectionChanged();
}

void ConsoleState::setAutoReload(bool on)
{
    if (on == m_autoReload)
        return;
    m_autoReload = on;
    emit autoReloadChanged(on);
}

void ConsoleState::setSelectedPage(int index)
{
    if (index == m_selectedPage || index < -1 || index >= PageCount)
        return;
    m_selectedPage = index;
    emit selectedPageChanged(index);
}

void ConsoleState::setCurrentPage(qint16 index)
{
    if (index == CurrentPage)
        return;
    CurrentPage = index;
    emit currentPageChanged(index);
}

void ConsoleState::setLineCount(qint16 count)
{
    LineCount = count;
    FillLineList();
}

void ConsoleState::setPageCount(qint16 count)
{
    PageCount = count;
    m_selectedPage = -1; // the rebuilt list has no selection until it gets one
    emit pagesRebuilt();
}
