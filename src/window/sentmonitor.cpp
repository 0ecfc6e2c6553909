#include "window/sentmonitor.h"

#include "console/report.h"
#include "console/sentcommands.h"
#include "store/linefile.h"
#include "window/dialogs.h"
#include "window/texts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

SentMonitor::SentMonitor(SentCommands &commands, Dialogs &dialogs)
    : m_commands(commands)
    , m_dialogs(dialogs)
    , m_view(new QTableView(this))
    , m_discarded(new QLabel(this))
{
    setObjectName(QStringLiteral("SentMonitor"));
    setWindowTitle(QStringLiteral("Sent Commands"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_view->setObjectName(QStringLiteral("SentCommandsView"));
    m_view->setModel(&m_commands);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    // Every row is one line high: the view need not measure each row.
    const QFontMetrics metrics = fontMetrics();
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(metrics.height() + metrics.height() / 2);
    const auto width = [&metrics](const QString &sample) {
        return metrics.horizontalAdvance(sample) + metrics.height();
    };
    m_view->setColumnWidth(SentCommands::TimeColumn, width(QStringLiteral("00:00:00.000")));
    m_view->setColumnWidth(SentCommands::ActionColumn, width(QStringLiteral("Send Clear All Line")));
    m_view->setColumnWidth(SentCommands::CommandColumn, width(QStringLiteral("Set line 255 to \"ABCDEFGHIJKLMN\"")));
    m_view->setColumnWidth(SentCommands::BytesColumn, width(QStringLiteral("F0 53 30 31 41 42 43 44 45 46 47 48 0A")));

    auto *copy = new QPushButton(QStringLiteral("Copy"), this);
    copy->setObjectName(QStringLiteral("CopyBtn"));
    auto *save = new QPushButton(QStringLiteral("Save…"), this);
    save->setObjectName(QStringLiteral("SaveBtn"));
    auto *clear = new QPushButton(QStringLiteral("Clear"), this);
    clear->setObjectName(QStringLiteral("ClearBtn"));
    m_discarded->setObjectName(QStringLiteral("DiscardedText"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_discarded, 1);
    buttons->addWidget(copy);
    buttons->addWidget(save);
    buttons->addWidget(clear);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
    // A good size for the columns, but never more than the screen has room for.
    QSize size(metrics.horizontalAdvance(QString(130, u'x')), metrics.height() * 30);
    create(); // for the frame's size, where the platform knows it before showing
    if (const QScreen *screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        size = size.boundedTo(room.marginsRemoved(windowHandle()->frameMargins()).size());
        move(room.topLeft()); // where the frame goes
    }
    resize(size);
    for (const QKeyCombination key : {Qt::CTRL | Qt::Key_W, QKeyCombination(Qt::Key_Escape)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);

    connect(copy, &QPushButton::clicked, this, &SentMonitor::copySelection);
    connect(save, &QPushButton::clicked, this, &SentMonitor::saveAll);
    connect(clear, &QPushButton::clicked, &m_commands, &SentCommands::clear);
    connect(&m_commands, &SentCommands::discardedChanged, this, &SentMonitor::showDiscarded);

    // The newest row stays in view, unless the operator has scrolled up to
    // read an older one.
    QScrollBar *scroll = m_view->verticalScrollBar();
    connect(&m_commands, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this, scroll] { m_following = scroll->value() == scroll->maximum(); });
    connect(&m_commands, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_following)
            m_view->scrollToBottom();
    });
    showDiscarded(m_commands.discardedRows());
    m_view->scrollToBottom();
}

void SentMonitor::copySelection()
{
    QList<int> rows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    QApplication::clipboard()->setText(m_commands.rowsAsText(rows));
}

void SentMonitor::saveAll()
{
    QFileDialog dialog(this, Texts::SaveDialogTitle);
    dialog.setObjectName(QStringLiteral("SentCommandsDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilter(QStringLiteral("*.csv"));
    const QString path = m_dialogs.runFileDialog(dialog);
    if (path.isEmpty())
        return;
    if (const QString failure = saveFileWhole(path, m_commands.toCsv()); !failure.isEmpty())
        m_dialogs.showMessage({Report::Kind::Plain, Texts::ErrorTitle, Texts::SaveError, failure});
}

void SentMonitor::showDiscarded(qint64 discarded)
{
    m_discarded->setText(discarded > 0 ? Texts::discardedRows(discarded, m_commands.rowCount()) : QString());
}
