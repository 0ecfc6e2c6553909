#include "frmabout.h"

#include "buildinfo.h"
#include "quillane.xpm"

#include <QLabel>
#include <QPushButton>

QIcon quillaneIcon()
{
    return QIcon(QPixmap(quillane_xpm));
}

QString versionLine(int major, int minor, int revision)
{
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setFixedSize(256, 121);
    setWindowIcon(quillaneIcon());

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(8, 8, 36, 36);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(QPixmap(quillane_xpm));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(140, 58, 84, 26);
    cmdOK->setDefault(true);
    // Esc reaches QDialog::reject, which closes the window just as OK does.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    lblCopyright = new QLabel(this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    QFont notice(QStringLiteral("Times New Roman"));
    notice.setPointSizeF(8.25);
    notice.setWeight(QFont::Normal);
    lblCopyright->setFont(notice);
    lblCopyright->move(8, 96);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(52, 8, 196, 20);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(52, 30, 196, 20);

    Form_Load();
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(BuildInfo::Title);
    setWindowTitle(QStringLiteral("About ") + title);
    lblVersion->setText(versionLine(BuildInfo::Major, BuildInfo::Minor, BuildInfo::Revision));
    lblTitle->setText(title);
    lblCopyright->setText(QString::fromUtf8(BuildInfo::Notice));
    lblCopyright->adjustSize();
}

frmAbout *AboutKeeper::show()
{
    if (!m_window)
        m_window = new frmAbout;
    m_window->show();
    m_window->raise();
    m_window->activateWindow();
    return m_window;
}
