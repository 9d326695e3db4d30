// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/MainWindow.h"

#include "app/BestFirstRank.h"
#include "app/HelpText.h"
#include "app/ItemListView.h"
#include "app/ListToolTips.h"
#include "app/NumberListMenu.h"
#include "app/OffensiveLinesChoice.h"
#include "app/ProgressCaptionBar.h"
#include "app/ResultsOrderControl.h"
#include "app/StartUp.h"
#include "app/WindowKeys.h"
#include "core/Dialogs.h"
#include "engine/ConversionRun.h"
#include "lists/ListCommands.h"
#include "output/OutputCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

// How often a long command really processes events and repaints.
constexpr qint64 RefreshIntervalMs = 16;

int selectedRow(const ItemListView *view)
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

} // namespace

MainWindow::MainWindow(Services services, QWidget *parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_dictionary{m_services.createConnection, {}, {}}
    , m_options(m_services.settings)
    , m_spellLanguage(m_options)
    , m_run(std::make_unique<engine::ConversionRun>(m_dictionary.words))
    , m_memoryGuard(m_services.availableMemory)
    , m_progressText(captionOf(Control::ProgressBar))
{
    // The controls send events to eventFilter() while they are made, which
    // reads m_controls: they are made once every member exists.
    m_controls = createControls(*this, m_numbers, m_results, *this);
    m_order = std::make_unique<ResultsOrderControl>(
        *m_controls.resultsList, m_results, m_options, m_services.dialogs, [this] {
            return bestFirstRank(m_dictionary.words);
        });
    auto *offensive = new OffensiveLinesChoice(
        m_options, m_results, m_dictionary.words, m_services.dialogs, this);
    offensive->restore();
    m_order->addMenuChoices([offensive](QMenu &menu) {
        offensive->addMenuEntry(menu);
    });
    m_order->addMenuChoices([this](QMenu &menu) {
        m_spellLanguage.addMenu(menu);
    });
    // Parented to their views.
    new NumberListMenu(*m_controls.numberList, m_numbers, m_services.clipboard, m_services.dialogs);
    new ListToolTips(*m_controls.numberList, [this](int row) {
        return numberToolTip(m_numbers, row);
    });
    new ListToolTips(*m_controls.resultsList, [this](int row) {
        return resultToolTip(m_results, m_dictionary.words, row);
    });
    m_numbers.setObjectName(u"numberList"_s);
    m_results.setObjectName(u"resultsList"_s);
    m_results.setUserCheckable(true);
    connectHandlers();
}

MainWindow::~MainWindow() = default;

void MainWindow::startUp()
{
    app::startUp(
        {*this, *this, m_services.dialogs, m_controls, m_handCursor, m_dictionary, m_options},
        m_services.dataFolders);
    m_order->restore();
    m_spellLanguage.restore();
}

void MainWindow::connectHandlers()
{
    const WindowControls &c = m_controls;
    // clicked (mouse or keyboard) comes after the group has settled, and not
    // for the states that start-up restores.
    for (QRadioButton *option : {c.mnemonicOption, c.spellOutOption})
        connect(option, &QRadioButton::clicked, this, &MainWindow::conversionChosen);
    for (QRadioButton *option : {c.wordsAndNumbersOption, c.wordsOnlyOption})
        connect(option, &QRadioButton::clicked, this, &MainWindow::lineFilterChosen);
    connect(c.includeOriginalCheck, &QCheckBox::clicked, this, &MainWindow::includeOriginalClicked);

    connect(c.startButton, &QPushButton::clicked, this, &MainWindow::startClicked);
    core::Dialogs &dialogs = m_services.dialogs;
    connect(c.helpButton, &QPushButton::clicked, this, [this, &dialogs] {
        showHelp(
            *this, dialogs, m_controls.mnemonicOption->text(), m_controls.spellOutOption->text());
    });
    // Each button runs one command with the services it uses.
    const std::pair<QPushButton *, std::function<void()>> commands[] = {
        {c.sampleButton,
         [this] {
             loadSampleNumbers(*this);
         }},
        {c.clearNumbersButton,
         [this] {
             lists::clearNumbers(*this);
         }},
        {c.clearResultsButton,
         [this] {
             lists::clearResults(*this);
         }},
        {c.loadFileButton,
         [this, &dialogs] {
             lists::loadNumbersFromFile(*this, dialogs);
         }},
        {c.addNumbersButton,
         [this, &dialogs] {
             lists::addNumbers(*this, dialogs);
         }},
        {c.removeContainingButton,
         [this, &dialogs] {
             lists::removeResultsContaining(*this, dialogs);
         }},
        {c.removeNotContainingButton,
         [this, &dialogs] {
             lists::removeResultsNotContaining(*this, dialogs);
         }},
        {c.saveTextButton,
         [this, &dialogs] {
             output::saveResultsAsText(*this, dialogs);
         }},
        {c.copyButton,
         [this, &dialogs] {
             output::copyResults(*this, dialogs, m_services.clipboard);
         }},
        {c.spreadsheetButton,
         [this, &dialogs] {
             output::exportResultsToSpreadsheet(*this, dialogs, m_services.spreadsheet);
         }},
    };
    for (const auto &[button, command] : commands)
        connect(button, &QPushButton::clicked, this, command);
    addCommandShortcuts(*this, c);
}

// While a list load goes on, "Stop" stops the load; else the click starts a
// run or stops the one going on.
void MainWindow::startClicked()
{
    if (m_loads > 0) {
        m_loadStopRequested = true;
        return;
    }
    m_run->startOrStop(*this);
    // A sorted list places the last lines on its worker.
    refresh(Flush::WhenDue);
}

void MainWindow::conversionChosen()
{
    const bool mnemonic = m_controls.mnemonicOption->isChecked();
    m_options.writeBoolean(Control::MnemonicOption, mnemonic);
    m_options.writeBoolean(Control::SpellOutOption, m_controls.spellOutOption->isChecked());
    m_controls.mnemonicFrame->setEnabled(mnemonic);
}

void MainWindow::lineFilterChosen()
{
    m_options.writeBoolean(Control::WordsAndNumbersOption,
                           m_controls.wordsAndNumbersOption->isChecked());
    m_options.writeBoolean(Control::WordsOnlyOption, m_controls.wordsOnlyOption->isChecked());
}

void MainWindow::includeOriginalClicked()
{
    m_options.writeCheck(Control::IncludeOriginalCheck,
                         m_controls.includeOriginalCheck->isChecked());
}

void MainWindow::pointerOverBackground()
{
    if (m_pointer != core::Pointer::Hourglass)
        setPointer(core::Pointer::Default);
}

void MainWindow::pointerOverButton()
{
    if (m_pointer != core::Pointer::Hourglass)
        setPointer(core::Pointer::Custom);
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over a child that ignores them arrive here too; only the bare
    // background counts.
    if (!childAt(event->position().toPoint()))
        pointerOverBackground();
    QWidget::mouseMoveEvent(event);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    for (ItemListView *view : {m_controls.numberList, m_controls.resultsList}) {
        const auto list = [&]() -> core::ItemListModel & {
            return view == m_controls.numberList ? m_numbers : resultsList();
        };
        // The list is brought up to date before its selected row is read.
        if (event->type() == QEvent::KeyPress && watched == view) {
            core::ItemListModel &items = list();
            lists::removeSelectedOnKey(
                *this, items, static_cast<QKeyEvent *>(event)->key(), selectedRow(view));
        }
        // A double-click that removed an item ends here, so the view does not
        // act on the moved rows.
        if (event->type() == QEvent::MouseButtonDblClick && watched == view->viewport()) {
            core::ItemListModel &items = list();
            return lists::removeSelectedItem(*this, items, selectedRow(view));
        }
    }
    if (clickOnEnter(watched, event))
        return true;
    if (event->type() == QEvent::MouseMove) {
        if (qobject_cast<QPushButton *>(watched))
            pointerOverButton();
        else
            pointerOverBackground();
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing ends the process at once, also while a command is yielding:
    // a nested event loop would otherwise go on with the window hidden.
    event->accept();
    if (m_services.endProcess)
        m_services.endProcess();
}

// --- core::RunHost ----------------------------------------------------------

void MainWindow::startNumber(const QString &number)
{
    m_results.startGroup(number);
}

void MainWindow::appendResult(const QString &line)
{
    // Kept in the list's compact store; the view learns of it when the window
    // draws.
    m_results.appendPending(line, true);
    scheduleRefresh();
    // A run that would exhaust the memory stops as if Stop had been clicked.
    if (++m_linesSinceMemoryCheck == 4096) {
        m_linesSinceMemoryCheck = 0;
        if (m_memoryGuard.tripped(m_results.bytesUsed(), m_results.storedLines()))
            m_run->startOrStop(*this);
    }
}

bool MainWindow::beginResult(qsizetype utf8Size)
{
    // A line that would pass the memory left stops the run as if Stop had
    // been clicked; nothing is set aside, and the pieces go nowhere.
    if (m_memoryGuard.tripped(m_results.bytesUsed() + utf8Size, m_results.storedLines() + 1)) {
        m_run->startOrStop(*this);
        return true;
    }
    m_results.beginPendingLine(utf8Size);
    return true;
}

void MainWindow::writeResult(QByteArrayView utf8)
{
    m_results.writePendingLine(utf8);
}

bool MainWindow::endResult(bool keep)
{
    if (!keep) {
        m_results.dropPendingLine();
        return false;
    }
    const bool appended = m_results.endPendingLine(true);
    scheduleRefresh();
    return appended;
}

core::ConversionOptions MainWindow::conversionOptions() const
{
    using Conversion = core::ConversionOptions::Conversion;
    const WindowControls &c = m_controls;
    core::ConversionOptions options;
    options.conversion = c.mnemonicOption->isChecked()   ? Conversion::Mnemonic
                         : c.spellOutOption->isChecked() ? Conversion::SpelledOut
                                                         : Conversion::None;
    options.keepMixedLines = c.wordsAndNumbersOption->isChecked();
    options.keepWordsOnlyLines = c.wordsOnlyOption->isChecked();
    options.appendOriginalNumber = c.includeOriginalCheck->isChecked();
    options.spellLanguage = m_spellLanguage.code();
    return options;
}

void MainWindow::showStartCaption()
{
    m_controls.startButton->setText(m_running || m_loads > 0 ? u"Stop"_s
                                                             : captionOf(Control::StartButton));
}

void MainWindow::showLoading(bool loading)
{
    m_loads += loading ? 1 : -1;
    if (m_loads == 0)
        m_loadStopRequested = false;
    showStartCaption();
}

void MainWindow::showRunning(bool running)
{
    m_running = running;
    showStartCaption();
    if (running) {
        m_linesSinceMemoryCheck = 0;
        m_memoryGuard.runStarted(m_results.bytesUsed());
    } else if (m_memoryGuard.takeCutShort()) {
        refresh();
        m_services.dialogs.message(m_memoryGuard.cutShortMessage(m_results.rows()));
    }
}

void MainWindow::setProgressValue(double value)
{
    m_progressValue = value;
    m_progressDirty = true;
    scheduleRefresh();
}

void MainWindow::setProgressText(const QString &text)
{
    m_progressText = text;
    m_progressCount = -1;
    m_progressDirty = true;
    scheduleRefresh();
}

void MainWindow::showGeneratedCount(qint64 count)
{
    // Written into the caption when the window draws, not at every reading.
    m_progressCount = count;
    m_progressDirty = true;
    scheduleRefresh();
}

void MainWindow::showErrorReport(const QString &text)
{
    refresh();
    m_services.dialogs.showErrorReport(text);
}

void MainWindow::setPointer(core::Pointer pointer)
{
    // Asked again for the pointer it shows (a run asks before every number),
    // the window sets nothing: each change goes to the display, and a busy
    // display answers it late.
    if (pointer == m_pointer && testAttribute(Qt::WA_SetCursor))
        return;
    m_pointer = pointer;
    switch (pointer) {
    case core::Pointer::Hourglass:
        setCursor(Qt::WaitCursor);
        break;
    case core::Pointer::Custom:
        setCursor(m_handCursor ? *m_handCursor : QCursor(Qt::ArrowCursor));
        break;
    case core::Pointer::Default:
        setCursor(Qt::ArrowCursor);
        break;
    }
}

void MainWindow::yield()
{
    // Long commands ask to yield at every step; the window processes events
    // only every few tens of milliseconds, after showing what is buffered.
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < RefreshIntervalMs)
        return;
    refresh(Flush::WhenDue);
    QCoreApplication::processEvents();
    // A command that ran inside may have left lines buffered (a run started
    // during another command's yield); the caller reads the list next.
    refresh(Flush::WhenDue);
    m_sinceEvents.start();
}

core::ItemListModel &MainWindow::resultsList()
{
    refresh();
    return m_results;
}

QString MainWindow::shownProgressText() const
{
    return m_controls.progressBar->caption();
}

void MainWindow::scheduleRefresh()
{
    if (m_refreshPosted)
        return;
    m_refreshPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refresh(Flush::WhenDue);
        },
        Qt::QueuedConnection);
}

void MainWindow::refresh(Flush flush)
{
    m_refreshPosted = false;
    // Placing lines in a sorted list needs memory; without it they stay
    // pending for the next refresh (an exception must not leave an event).
    if (m_results.hasPending()) {
        try {
            const bool asFound = m_results.order() == core::ItemListModel::Order::AsFound;
            if (flush == Flush::All)
                m_results.showPending();
            else
                m_results.showPendingSoon();
            if (asFound)
                m_controls.resultsList->scrollToBottom();
        } catch (const std::bad_alloc &) {
        }
    }
    if (m_progressDirty) {
        m_progressDirty = false;
        m_controls.progressBar->setPosition(int(qBound(0.0, m_progressValue * 10.0, 1000.0)));
        m_controls.progressBar->setCaption(m_progressCount >= 0 ? generatingCaption(m_progressCount)
                                                                : m_progressText);
    }
}

} // namespace app
