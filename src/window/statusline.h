#pragma once

#include <QObject>

class Console;
class QLabel;
class QProgressBar;
class QStatusBar;

// The status bar's text and the progress bar of a long send, following the
// console. An error stands out in the palette's highlight colours, which
// every theme makes readable, and says what it is in its words as well.
class StatusLine : public QObject
{
    Q_OBJECT

public:
    StatusLine(Console &console, QStatusBar *bar);

private:
    void show(const QString &text, bool error);
    void showProgress(qint64 queued, qint64 sent, qint64 msLeft);

    QLabel *StatusText;
    QProgressBar *SendProgress;
};
