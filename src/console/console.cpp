#include "console/console.h"

#include "console/texts.h"

namespace {

// A caption as it reads: "&Send All Line" is "Send All Line".
QString withoutMnemonic(QString caption)
{
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&')
            caption.remove(i, 1); // "&&" keeps the second
    }
    return caption;
}

} // namespace

Console::Console(QObject *parent)
    : QObject(parent)
    , m_record([this] { return m_port.link().acceptedTotal(); })
    , m_port(m_state, m_record, *this)
    , m_actions(m_state, m_port, m_record, *this)
    , m_files(m_state, m_actions, *this)
{
}

Console::~Console() = default;

void Console::report(const Report &report)
{
    if (m_collected) {
        m_collected->append(report);
        const QString text = report.reason.isEmpty() ? report.text : report.text + QStringLiteral(": ") + report.reason;
        m_port.showStatus(QStringLiteral("%1: %2").arg(m_actor, text), report.kind != Report::Kind::Information);
        return;
    }
    if (report.kind == Report::Kind::Status)
        m_port.showStatus(report.text, true);
    else
        emit reported(report);
}

Console::Acting::Acting(Console &console, const QString &actor, QList<Report> *collected)
    : m_console(console)
    , m_outermost(console.m_depth++ == 0)
{
    if (!m_outermost)
        return;
    m_console.m_actor = withoutMnemonic(actor);
    m_console.m_collected = collected;
    m_console.m_actions.startAction();
    m_console.m_record.setAction(m_console.m_actor);
}

Console::Acting::~Acting()
{
    --m_console.m_depth;
    if (!m_outermost)
        return;
    m_console.m_record.setAction(QString());
    m_console.m_collected = nullptr;
    m_console.m_actor.clear();
}
