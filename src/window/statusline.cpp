#include "window/statusline.h"

#include "console/console.h"
#include "console/texts.h"

#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>

#include <algorithm>
#include <climits>

StatusLine::StatusLine(Console &console, QStatusBar *bar) : QObject(bar)
{
    bar->setObjectName(QStringLiteral("statusBar"));
    bar->setSizeGripEnabled(false);
    bar->setAccessibleName(QStringLiteral("Status"));
    // A label rather than showMessage(): a menu's status tip would wipe a
    // message, and a lost port must stay said until the next Connect.
    StatusText = new QLabel(bar);
    StatusText->setObjectName(QStringLiteral("StatusText"));
    // The status text stays the label's name, so that it is what is read.
    StatusText->setAccessibleDescription(QStringLiteral("Status"));
    bar->addWidget(StatusText, 1);
    SendProgress = new QProgressBar(bar);
    SendProgress->setObjectName(QStringLiteral("SendProgress"));
    SendProgress->setAccessibleName(QStringLiteral("Send progress"));
    // Room for "12345 of 66300 bytes, about 230 s left".
    SendProgress->setMaximumWidth(SendProgress->fontMetrics().averageCharWidth() * 40);
    SendProgress->hide();
    bar->addPermanentWidget(SendProgress);

    PortControl &port = console.port();
    connect(&port, &PortControl::statusChanged, this, &StatusLine::show);
    connect(&port, &PortControl::progressChanged, this, &StatusLine::showProgress);
    connect(&port, &PortControl::progressEnded, SendProgress, &QWidget::hide);
}

void StatusLine::show(const QString &text, bool error)
{
    StatusText->setAutoFillBackground(error);
    StatusText->setForegroundRole(error ? QPalette::HighlightedText : QPalette::WindowText);
    StatusText->setBackgroundRole(error ? QPalette::Highlight : QPalette::Window);
    StatusText->setText(text);
}

void StatusLine::showProgress(qint64 queued, qint64 sent, qint64 msLeft)
{
    SendProgress->setRange(0, int(std::min<qint64>(queued, INT_MAX)));
    SendProgress->setValue(int(std::min<qint64>(sent, INT_MAX)));
    SendProgress->setFormat(Texts::progress(msLeft));
    SendProgress->show();
}
