#include "about/frmabout.h"
#include "about/buildinfo.h"
#include "about/quillaneicon.h"
#include "about/versionline.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace {
const QString CaptionPrefix = QStringLiteral("About ");
const QString OkCaption = QStringLiteral("OK");
const QString NoticeFontFamily = QStringLiteral("Times New Roman");
constexpr qreal NoticePointSize = 8.25;
constexpr qreal TitleScale = 1.4;

// Client area 3840 x 1815 twips and an icon box of 540 twips, at 96 dpi.
constexpr QSize ClientSize(256, 121);
constexpr QRect IconBox(8, 8, 36, 36);
constexpr QRect TitleBox(56, 8, 192, 22);
constexpr QRect VersionBox(56, 32, 192, 18);
constexpr QRect OkBox(152, 58, 88, 26);
constexpr QPoint NoticeAt(8, 96);
}

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    // The program ends with its last window, so an open About window keeps
    // it running after the main window is closed.
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    Form_Load();
}

void frmAbout::buildWindow()
{
    setFixedSize(ClientSize);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(IconBox);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(quillanePixmap());

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(TitleBox);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * TitleScale);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    QPalette titlePalette = lblTitle->palette();
    titlePalette.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(titlePalette);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(VersionBox);

    cmdOK = new QPushButton(OkCaption, this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(OkBox);
    cmdOK->setDefault(true);

    lblCopyright = new QLabel(this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    QFont noticeFont(NoticeFontFamily);
    noticeFont.setPointSizeF(NoticePointSize);
    noticeFont.setWeight(QFont::Normal);
    lblCopyright->setFont(noticeFont);
    lblCopyright->move(NoticeAt);
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(BuildInfo::Title);
    setWindowTitle(CaptionPrefix + title);
    lblVersion->setText(versionLine(BuildInfo::Major, BuildInfo::Minor, BuildInfo::Revision));
    lblTitle->setText(title);
    lblCopyright->setText(QString::fromUtf8(BuildInfo::Notice));
    lblCopyright->adjustSize();
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    // Esc presses OK, just as Enter does through the default button.
    if (event->matches(QKeySequence::Cancel)) {
        cmdOK->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

AboutKeeper::~AboutKeeper()
{
    delete m_window;
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

frmAbout *AboutKeeper::window() const
{
    return m_window;
}
