#pragma once

#include "serial/portsettings.h"
#include "store/linestore.h"

#include <QObject>
#include <QStringList>

#include <array>

// The operator's work: the line texts and counts, the page last made current
// and the one picked, the four display values as their fields hold them, and
// the port choices. Every change is told by a signal, whoever made it.
class ConsoleState : public QObject
{
    Q_OBJECT

public:
    enum class Value { LeftOffset, TransparencyValue, HPos, VPos };
    static constexpr int ComPortEntries = 16;
    static const QStringList &baudRates();
    // How many characters each value's field holds; a longer value keeps its
    // first characters.
    static int valueWidth(Value value);

    explicit ConsoleState(QObject *parent = nullptr);

    qint16 lineCount() const { return LineCount; }
    qint16 pageCount() const { return PageCount; }
    qint16 currentPage() const { return CurrentPage; }
    // The Page list's selection: -1 while its text is typed.
    int selectedPage() const { return m_selectedPage; }
    bool autoReload() const { return m_autoReload; }
    const LineStore &lineTexts() const { return LineTexts; }
    QString value(Value value) const { return m_values[size_t(value)]; }
    int comPortIndex() const { return m_comPortIndex; }
    int baudRateIndex() const { return m_baudRateIndex; }
    PortSettings portSettings() const;

    // What the operator (or a remote client) types: a line break becomes a
    // space. Indices outside 0..255 are ignored.
    void setLineText(int index, const QString &text);
    // A text as a line file holds it, kept whole.
    void loadLineText(int index, const QString &text);
    // Empties lines 0 .. LineCount - 1.
    void clearLines();
    void setValue(Value value, const QString &text);
    void setComPortIndex(int index);
    void setBaudRateIndex(int index);
    void setAutoReload(bool on);
    void setSelectedPage(int index);
    void setCurrentPage(qint16 index);
    // Rebuild the lists (FillLineList, the entries of FillPageList).
    void setLineCount(qint16 count);
    // The line list again from Line 1, showing its text.
    void FillLineList() { emit linesRebuilt(); }
    void setPageCount(qint16 count);

signals:
    void lineTextChanged(int index);
    void lineTextsChanged();
    // LineCount was set: the line list is rebuilt with Line 1 selected.
    void linesRebuilt();
    void pagesRebuilt();
    void selectedPageChanged(int index);
    void currentPageChanged(int index);
    void valueChanged(ConsoleState::Value value);
    void portSelectionChanged();
    void autoReloadChanged(bool on);

private:
    qint16 LineCount = 11;
    qint16 PageCount = 32;
    qint16 CurrentPage = 0;
    LineStore LineTexts;
    int m_selectedPage = 0;
    bool m_autoReload = false;
    std::array<QString, 4> m_values{QStringLiteral("000"), QStringLiteral("0"), QStringLiteral("00"),
                                    QStringLiteral("00")};
    int m_comPortIndex = 0;
    int m_baudRateIndex = 3;
};
