#pragma once

// The main window takes its window icon from the about library as well.
#include "about/quillaneicon.h"

#include <QDialog>
#include <QPointer>

class QKeyEvent;
class QLabel;
class QPushButton;

// The About window: icon, title, version and notice, and an OK button that
// closes and discards it. It has no owner, so it never blocks the main window.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    frmAbout();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildWindow();
    void Form_Load();
    void cmdOK_Click();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCopyright = nullptr;
    QPushButton *cmdOK = nullptr;
};

// Holds the single About window for the main window's "About" item: makes it
// when there is none, otherwise brings the open one forward.
class AboutKeeper
{
public:
    AboutKeeper() = default;
    ~AboutKeeper();
    Q_DISABLE_COPY_MOVE(AboutKeeper)

    frmAbout *show();
    frmAbout *window() const;

private:
    QPointer<frmAbout> m_window;
};
