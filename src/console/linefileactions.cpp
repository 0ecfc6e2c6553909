#include "console/linefileactions.h"

#include "console/commandactions.h"
#include "console/consolestate.h"
#include "console/texts.h"
#include "store/linefile.h"

LineFileActions::LineFileActions(ConsoleState &state, CommandActions &actions, ReportSink &reports)
    : m_state(state)
    , m_actions(actions)
    , m_reports(reports)
{
}

bool LineFileActions::save(const QString &path)
{
    using Value = ConsoleState::Value;
    LineFileFields fields;
    fields.comPortIndex = m_state.comPortIndex();
    fields.baudRateIndex = m_state.baudRateIndex();
    fields.leftOffset = m_state.value(Value::LeftOffset);
    fields.transparencyValue = m_state.value(Value::TransparencyValue);
    for (int i = 0; i < m_state.lineCount(); ++i)
        fields.lineTexts << m_state.lineTexts().text(i);
    fields.hPos = m_state.value(Value::HPos);
    fields.vPos = m_state.value(Value::VPos);
    fields.pageCount = m_state.pageCount();
    QString failure;
    if (const QString value = multiLineValue(fields); !value.isEmpty())
        failure = Texts::notOneLine(value);
    else
        failure = saveFileWhole(path, writeLineFile(fields));
    if (failure.isEmpty())
        return true;
    m_reports.report({Report::Kind::Plain, Texts::ErrorTitle, Texts::SaveError, failure});
    return false;
}

bool LineFileActions::open(const QString &path)
{
    const LineFileRead read = loadLineFile(path, {ConsoleState::ComPortEntries, int(ConsoleState::baudRates().size())});
    if (!read.data) {
        m_reports.report({Report::Kind::Plain, Texts::ErrorTitle, Texts::OpenError, read.error});
        return false;
    }
    apply(*read.data);
    return true;
}

// In the order the file is read: the line list is rebuilt once the count is
// known, the page list once the page count is, and that rebuild selects
// page 1 as any pick of it does.
void LineFileActions::apply(const LineFileData &data)
{
    using Value = ConsoleState::Value;
    const Report outOfNumber{Report::Kind::Error, Texts::ErrorTitle, Texts::OutOfNumberOfLine, {}};
    m_state.clearLines();
    if (data.comPortIndex)
        m_state.setComPortIndex(*data.comPortIndex);
    if (data.baudRateIndex)
        m_state.setBaudRateIndex(*data.baudRateIndex);
    if (data.leftOffset)
        m_state.setValue(Value::LeftOffset, *data.leftOffset);
    if (data.transparencyValue)
        m_state.setValue(Value::TransparencyValue, *data.transparencyValue);
    if (data.lineCount) {
        if (data.lineCountReplaced)
            m_reports.report(outOfNumber);
        m_state.setLineCount(static_cast<qint16>(*data.lineCount));
    }
    for (int k = 0; k < data.lineTexts.size(); ++k)
        m_state.loadLineText(k, data.lineTexts.at(k));
    if (data.hPos)
        m_state.setValue(Value::HPos, *data.hPos);
    if (data.vPos)
        m_state.setValue(Value::VPos, *data.vPos);
    if (data.pageCount) {
        m_state.setPageCount(static_cast<qint16>(*data.pageCount));
        if (data.pageCountReplaced)
            m_reports.report(outOfNumber);
        m_actions.FillPageList();
    }
    // Line 1 is shown, whatever the file held.
    m_state.FillLineList();
}
