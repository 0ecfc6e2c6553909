#pragma once

#include <QDialog>
#include <QIcon>
#include <QPointer>

class QLabel;
class QPushButton;

// The program's own icon, also the main window's.
QIcon quillaneIcon();

// "Version 1.0.9": the three numbers in decimal, without leading zeros.
QString versionLine(int major, int minor, int revision);

// Title, version and legal notice, from the build information. Modeless and
// without an owner; OK, Enter and Esc close and discard it.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    frmAbout();

private:
    void Form_Load();

    QLabel *picIcon;
    QPushButton *cmdOK;
    QLabel *lblCopyright;
    QLabel *lblTitle;
    QLabel *lblVersion;
};

// Keeps the one About window: made on first use and after it was closed,
// brought forward while it is open.
class AboutKeeper
{
public:
    frmAbout *show();
    frmAbout *window() const { return m_window; }

private:
    QPointer<frmAbout> m_window;
};
