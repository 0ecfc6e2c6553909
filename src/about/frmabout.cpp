#include "about/frmabout.h"
#include "about/buildinfo.h"
#include "about/quillaneicon.h"
#include "about/versionline.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

namespace {
const QString CaptionPrefix = QStringLiteral("About ");
const QString OkCaption = QStringLiteral("OK");
const QString NoticeFontFamily = QStringLiteral("Times New Roman");
constexpr qreal TitleScale = 1.4;

// The client area at the default font (3840 x 1815 twips at 96 dpi); a
// larger font makes it as large as its content needs. The icon's box is 540
// twips.
constexpr QSize SmallestClient(256, 121);
constexpr QSize IconBox(36, 36);
} // namespace

frmAbout::frmAbout()
{
    setObjectName(QStringLiteral("frmAbout"));
    // The program ends with its last window, so an open About window keeps
    // it running after the main window is closed.
    setAttribute(Qt::WA_DeleteOnClose);
    buildWindow();
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    Form_Load();
    // Not resizable; as large as its texts need, at least the size of 1.0.9.
    setFixedSize(sizeHint().expandedTo(SmallestClient));
}

void frmAbout::buildWindow()
{
    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setFixedSize(IconBox);
    picIcon->setAlignment(Qt::AlignCenter);
    picIcon->setPixmap(quillanePixmap());

    // The title keeps the palette's text colour, readable on a dark palette too.
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * TitleScale);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    cmdOK = new QPushButton(OkCaption, this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    lblCopyright = new QLabel(this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    // Its own typeface at the size of the window's text, so that it grows
    // with the application's font as the rest does; a serif face where the
    // family is missing.
    QFont noticeFont = font();
    noticeFont.setFamily(NoticeFontFamily);
    noticeFont.setStyleHint(QFont::Serif);
    noticeFont.setWeight(QFont::Normal);
    lblCopyright->setFont(noticeFont);

    // The icon at the top left; beside it the title, the version and, right of
    // centre, OK; the notice on a line of its own at the foot.
    const int gap = qMax(2, fontMetrics().height() / 3);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(gap, gap, gap, gap);
    grid->setSpacing(gap);
    grid->setHorizontalSpacing(2 * gap);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(cmdOK, 2, 1, Qt::AlignRight);
    grid->setRowStretch(3, 1);
    grid->addWidget(lblCopyright, 4, 0, 1, 2);
}

void frmAbout::Form_Load()
{
    const QString title = QString::fromUtf8(BuildInfo::Title);
    setWindowTitle(CaptionPrefix + title);
    lblVersion->setText(versionLine(BuildInfo::Major, BuildInfo::Minor, BuildInfo::Revision));
    lblTitle->setText(title);
    lblCopyright->setText(QString::fromUtf8(BuildInfo::Notice));
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
