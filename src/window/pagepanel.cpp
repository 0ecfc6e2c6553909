#include "window/pagepanel.h"

#include "console/texts.h"
#include "window/controls.h"
#include "window/pagecombo.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

using namespace Controls;

namespace {

// The entry that a line file can make the widest: "Page 255".
constexpr int ItemListChars = 8;

} // namespace

PagePanel::PagePanel(Console &console, const std::function<int()> &selectedLine, QWidget *parent)
    : QGroupBox(parent)
    , m_console(console)
{
    setObjectName(QStringLiteral("Frame6"));
    ReloadSelectedLineBtn = button(this, "ReloadSelectedLineBtn", QStringLiteral("Reload Selected Line"));
    AutoSendSelectedPageCheck = named(new QCheckBox(QStringLiteral("Auto"), this), "AutoSendSelectedPageCheck");
    ReloadSelectedPageBtn = button(this, "ReloadSelectedPageBtn", QStringLiteral("Reload Selected Page"));
    PageList = named(new PageCombo(this), "PageList");
    PageList->setAccessibleName(QStringLiteral("Page Number"));
    PageList->setEditText(QStringLiteral("Combo1"));
    PageList->setMinimumContentsLength(ItemListChars);
    PageList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Label8 = label(this, "Label8", QStringLiteral("Page Number"), PageList);

    const int gap = qMax(2, fontMetrics().height() / 4);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(gap, gap, gap, gap);
    row->setSpacing(gap);
    for (QWidget *w : std::initializer_list<QWidget *>{Label8, PageList, ReloadSelectedLineBtn,
                                                       AutoSendSelectedPageCheck, ReloadSelectedPageBtn})
        row->addWidget(w);
    row->addStretch();

    CommandActions &actions = console.actions();
    onClick(ReloadSelectedLineBtn, console, [&actions, selectedLine] { actions.reloadLine(selectedLine()); });
    onClick(ReloadSelectedPageBtn, console, [&actions] { actions.reloadPage(); });
    connect(AutoSendSelectedPageCheck, &QCheckBox::toggled, this,
            [this](bool on) { m_console.state().setAutoReload(on); });
    connect(PageList, &QComboBox::activated, this, &PagePanel::PageList_Click);
    connect(PageList, &PageCombo::textTyped, this, [this] { m_console.state().setSelectedPage(-1); });
    const ConsoleState &state = console.state();
    connect(&state, &ConsoleState::pagesRebuilt, this, &PagePanel::FillPageList);
    connect(&state, &ConsoleState::selectedPageChanged, this, &PagePanel::followSelection);
    connect(&state, &ConsoleState::autoReloadChanged, AutoSendSelectedPageCheck, &QCheckBox::setChecked);
}

QList<QPushButton *> PagePanel::commandSet() const
{
    return {ReloadSelectedPageBtn, ReloadSelectedLineBtn};
}

QWidgetList PagePanel::tabOrder() const
{
    return {PageList, ReloadSelectedLineBtn, AutoSendSelectedPageCheck, ReloadSelectedPageBtn};
}

// The entries only; the selection follows the work.
void PagePanel::FillPageList()
{
    const QSignalBlocker blocker(PageList);
    PageList->clear();
    PageList->addItems(numbered(QStringLiteral("Page %1"), m_console.state().pageCount()));
    PageList->setCurrentIndex(m_console.state().selectedPage());
}

void PagePanel::PageList_Click(int index)
{
    const Console::Acting acting(m_console, Texts::PageListAction);
    m_console.actions().selectPage(index);
}

// A page picked elsewhere (a line file, a remote client) shows here. Typed
// text stays until a page is picked.
void PagePanel::followSelection(int index)
{
    if (index < 0 || index == PageList->currentIndex())
        return;
    const QSignalBlocker blocker(PageList);
    PageList->setCurrentIndex(index);
}
