#include "Form1.h"

#include "ApplicationTitle.h"
#include "HandCursor.h"
#include "HelpText.h"
#include "OptionSettings.h"
#include "WindowSkin.h"
#include "engine/ConversionRun.h"
#include "engine/Database.h"
#include "engine/ErrorReport.h"
#include "engine/LoadWords.h"
#include "lists/FileExists.h"
#include "lists/ListCommands.h"
#include "output/OutputCommands.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

// Positions and sizes are designed in twips; 15 twips are one pixel at 96 DPI.
QRect twips(int left, int top, int width, int height)
{
    return {qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0)};
}

const QString ListToolTip = u"Double-click item to remove it. Move | line to right and out of "
                            "window to reveal full names."_s;

// How often a long command really processes events and repaints.
constexpr qint64 RefreshIntervalMs = 16;

} // namespace

Form1::Form1(Services services, QWidget *parent)
    : QWidget(parent)
    , m_services(std::move(services))
    , m_options(std::make_unique<OptionSettings>(m_services.settings))
    , m_run(std::make_unique<engine::ConversionRun>(m_wordStore))
{
    m_numbers.setObjectName(u"numberList"_s);
    m_results.setObjectName(u"resultsList"_s);
    m_results.setUserCheckable(true);
    createControls();
    connectHandlers();
}

Form1::~Form1() = default;

void Form1::createControls()
{
    setObjectName(u"Form1"_s);
    setFixedSize(15960 / 15, 7065 / 15);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    QFont windowFont(u"Arial"_s, 9);
    windowFont.setBold(true);
    setFont(windowFont);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    QFont buttonFont(u"Arial"_s);
    buttonFont.setPointSizeF(11.25);
    buttonFont.setBold(true);

    auto button =
        [&](QPushButton *&target, const char16_t *name, const QString &caption, QRect geometry) {
            target = new QPushButton(caption, this);
            target->setObjectName(QString::fromUtf16(name));
            target->setFont(buttonFont);
            target->setGeometry(geometry);
            target->setMouseTracking(true);
            target->installEventFilter(this);
        };
    auto list = [&](QTableView *&target,
                    const char16_t *name,
                    lists::ItemListModel &model,
                    QRect geometry) {
        target = new QTableView(this);
        target->setObjectName(QString::fromUtf16(name));
        target->setModel(&model);
        target->setGeometry(geometry);
        // A table view keeps no per-row layout, so appending to a list of
        // a million rows costs the same as to an empty one.
        target->verticalHeader()->hide();
        target->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        target->verticalHeader()->setDefaultSectionSize(target->fontMetrics().height() + 2);
        target->setShowGrid(false);
        target->setWordWrap(false);
        target->setCornerButtonEnabled(false);
        target->setSelectionMode(QAbstractItemView::SingleSelection);
        target->setSelectionBehavior(QAbstractItemView::SelectRows);
        target->setEditTriggers(QAbstractItemView::NoEditTriggers);
        target->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        target->horizontalHeader()->setStretchLastSection(false);
        target->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
        target->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        target->horizontalHeader()->setHighlightSections(false);
        target->setToolTip(ListToolTip);
        target->viewport()->setMouseTracking(true);
        target->viewport()->installEventFilter(this);
        target->installEventFilter(this);
    };
    auto frame = [&](QGroupBox *&target,
                     const char16_t *name,
                     const QString &caption,
                     QWidget *container,
                     QRect geometry) {
        target = new QGroupBox(caption, container);
        target->setObjectName(QString::fromUtf16(name));
        target->setGeometry(geometry);
        target->setMouseTracking(true);
        target->installEventFilter(this);
    };
    auto option = [&](QRadioButton *&target,
                      const char16_t *name,
                      const QString &caption,
                      QWidget *container,
                      QRect geometry) {
        target = new QRadioButton(caption, container);
        target->setObjectName(QString::fromUtf16(name));
        target->setGeometry(geometry);
    };

    button(PushButton8, u"PushButton8", u"Help"_s, twips(120, 120, 7800, 405));
    list(ListView1, u"ListView1", m_numbers, twips(120, 630, 7800, 1815));
    button(
        PushButton6, u"PushButton6", u"Add Phone Number or Numbers"_s, twips(120, 2530, 3840, 405));
    button(PushButton3,
           u"PushButton3",
           u"Load Phone Number From File"_s,
           twips(4080, 2530, 3840, 405));
    button(PushButton1, u"PushButton1", u"Clear List"_s, twips(120, 3040, 3840, 405));
    button(
        PushButton7, u"PushButton7", u"Load Sample/Example Data"_s, twips(4080, 3040, 3840, 405));
    frame(Frame2, u"Frame2", u"Convert Option"_s, this, twips(120, 3500, 7800, 2205));
    option(Option1,
           u"Option1",
           u"Convert numbers into mnemonic words"_s,
           Frame2,
           twips(240, 300, 4095, 255));
    frame(Frame1, u"Frame1", u"Mnemonic Option"_s, Frame2, twips(480, 660, 7080, 1005));
    option(Option4,
           u"Option4",
           u"Words only - Do not include items with numbers in results"_s,
           Frame1,
           twips(240, 300, 5895, 255));
    option(Option3,
           u"Option3",
           u"Words and numbers - Include items with numbers in results"_s,
           Frame1,
           twips(240, 650, 6015, 255));
    option(
        Option2, u"Option2", u"Convert numbers into words"_s, Frame2, twips(240, 1785, 3840, 255));
    frame(Frame3, u"Frame3", u"Include Option"_s, this, twips(120, 5745, 7800, 710));
    Check1 = new QCheckBox(u"Include original number next to results"_s, Frame3);
    Check1->setObjectName(u"Check1"_s);
    Check1->setGeometry(twips(240, 300, 7170, 225));
    button(PushButton17, u"PushButton17", u"Start Converting"_s, twips(120, 6560, 7800, 405));
    list(ListView2, u"ListView2", m_results, twips(8040, 120, 7800, 4830));
    button(
        PushButton4, u"PushButton4", u"Save Results As Text File"_s, twips(8040, 5030, 3840, 405));
    button(PushButton13,
           u"PushButton13",
           u"Save Results As Excel File"_s,
           twips(12000, 5030, 3840, 405));
    button(
        PushButton5, u"PushButton5", u"Copy Results To Clipboard"_s, twips(8040, 5540, 3840, 405));
    button(PushButton2, u"PushButton2", u"Clear Results"_s, twips(12000, 5540, 3840, 405));
    button(PushButton22,
           u"PushButton22",
           u"Remove Results Containing X"_s,
           twips(8040, 6050, 3840, 405));
    button(PushButton23,
           u"PushButton23",
           u"Remove Results Not Cont. X"_s,
           twips(12000, 6050, 3840, 405));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(u"ProgressBar1"_s);
    ProgressBar1->setGeometry(twips(8040, 6560, 7800, 405));
    ProgressBar1->setRange(0, 1000);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(true);
    ProgressBar1->setAlignment(Qt::AlignCenter);
    ProgressBar1->setFormat(u"Progress Bar"_s);
    m_progressText = u"Progress Bar"_s;

    // Two exclusive groups. Qt's automatic exclusivity would also reach the
    // buttons of the nested Frame1, so the groups are explicit.
    for (const auto &[first, second] : {std::pair{Option1, Option2}, std::pair{Option3, Option4}}) {
        auto *group = new QButtonGroup(this);
        group->addButton(first);
        group->addButton(second);
    }

    // Designed state: mnemonic conversion, words only.
    Option1->setChecked(true);
    Option4->setChecked(true);
    setMouseTracking(true);

    // Keyboard order by the designed tab indices.
    const QList<QWidget *> tabOrder{ListView1,
                                    ListView2,
                                    PushButton6,
                                    PushButton3,
                                    PushButton1,
                                    PushButton17,
                                    PushButton4,
                                    PushButton13,
                                    PushButton2,
                                    PushButton5,
                                    PushButton7,
                                    PushButton8,
                                    Option1,
                                    Option2,
                                    Check1,
                                    PushButton22,
                                    PushButton23,
                                    Option3,
                                    Option4};
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1), tabOrder.at(i));
}

void Form1::connectHandlers()
{
    // clicked (mouse or keyboard) comes after the group has settled, and not
    // for the states that start-up restores.
    connect(Option1, &QRadioButton::clicked, this, [this] {
        Option1_2_Click();
    });
    connect(Option2, &QRadioButton::clicked, this, [this] {
        Option1_2_Click();
    });
    connect(Option3, &QRadioButton::clicked, this, [this] {
        Option3_4_Click();
    });
    connect(Option4, &QRadioButton::clicked, this, [this] {
        Option3_4_Click();
    });
    connect(Check1, &QCheckBox::clicked, this, [this] {
        Check1_Click();
    });

    connect(PushButton17, &QPushButton::clicked, this, [this] {
        m_run->click(*this);
        refresh();
    });
    connect(PushButton7, &QPushButton::clicked, this, [this] {
        PushButton7_Click();
    });
    connect(PushButton8, &QPushButton::clicked, this, [this] {
        PushButton8_Click();
    });

    // The list and output commands live with their subsystems.
    const std::pair<QPushButton *, void (*)(lists::CommandWindow &)> commands[] = {
        {PushButton1, &lists::PushButton1_Click},
        {PushButton2, &lists::PushButton2_Click},
        {PushButton3, &lists::PushButton3_Click},
        {PushButton6, &lists::PushButton6_Click},
        {PushButton22, &lists::PushButton22_Click},
        {PushButton23, &lists::PushButton23_Click},
        {PushButton4, &output::PushButton4_Click},
        {PushButton5, &output::PushButton5_Click},
        {PushButton13, &output::PushButton13_Click},
    };
    for (const auto &[button, command] : commands)
        connect(button, &QPushButton::clicked, this, [this, command = command] {
            command(*this);
        });
}

// Start-up: each step reports its own failure and start-up goes on.
void Form1::Form_Load()
{
    engine::ErrorReport report(*this, u"Form1.Form_Load"_s);
    const QString folder = m_services.applicationFolder;

    report.run(102, [&] {
        ApplyWindowSkin(*this, folder);
    });
    report.run(104, [&] {
        setWindowTitle(ProductTitle);
        setWindowIcon(QIcon(u":/digitome.png"_s));
        m_services.dialogs.setApplicationTitle(SetApplicationTitle(ProductTitle));
    });
    const QString cursorPath = folder + u"/HAND-M.CUR"_s;
    if (report.test(106, [&] {
            return lists::FileExists(cursorPath);
        }))
        report.run(108, [&] {
            m_handCursor = LoadHandCursor(cursorPath);
        });

    report.run(128, [&] {
        m_numbers.setHeaders({u"Phone Number"_s});
    });
    report.run(130, [&] {
        ListView1->setColumnWidth(0, 7000 / 15);
    });
    report.run(132, [&] {
        m_results.setHeaders({u"Results"_s});
    });
    report.run(134, [&] {
        ListView2->setColumnWidth(0, 7000 / 15);
    });

    auto connection = [this]() -> engine::Connection & {
        if (!m_wordsConnection)
            throw engine::Failure(u"Object variable or With block variable not set"_s);
        return *m_wordsConnection;
    };
    report.run(136, [&] {
        m_wordsConnection = m_services.createConnection();
    });
    if (report.test(138, [&] {
            return connection().state() != engine::ObjectState::Closed;
        }))
        report.run(138, [&] {
            connection().close();
        });
    report.run(140, [&] {
        connection().open(engine::wordsConnectionText(folder));
    });
    report.run(142, [&] {
        m_wordStore = engine::WordStore();
    });
    report.run(144, [&] {
        setPointer(engine::Pointer::Hourglass);
    });
    report.run(146, [&] {
        engine::LoadWords(connection(), m_wordStore);
    });

    report.run(148, [&] {
        Check1->setChecked(m_options->read(u"Check1"_s) == u"1"_s);
    });
    const std::pair<int, QRadioButton *> options[] = {
        {150, Option1}, {152, Option2}, {154, Option3}, {156, Option4}};
    for (const auto &[line, button] : options) {
        report.run(line, [&, button = button] {
            setOptionState(button,
                           OptionSettings::toBoolean(m_options->read(button->objectName())));
        });
    }
    if (report.test(158, [&] {
            return Option1->isChecked();
        }))
        report.run(160, [&] {
            Frame1->setEnabled(true);
        });
    else
        report.run(162, [&] {
            Frame1->setEnabled(false);
        });
    report.run(164, [&] {
        setPointer(engine::Pointer::Default);
    });
}

void Form1::setOptionState(QRadioButton *button, bool selected)
{
    // Selecting deselects the partner; deselecting may leave neither selected,
    // which an exclusive group would refuse.
    QButtonGroup *group = button->group();
    group->setExclusive(false);
    if (selected)
        for (QAbstractButton *partner : group->buttons())
            partner->setChecked(partner == button);
    else
        button->setChecked(false);
    group->setExclusive(true);
}

void Form1::Option1_2_Click()
{
    m_options->writeBoolean(u"Option1"_s, Option1->isChecked());
    m_options->writeBoolean(u"Option2"_s, Option2->isChecked());
    Frame1->setEnabled(Option1->isChecked());
}

void Form1::Option3_4_Click()
{
    m_options->writeBoolean(u"Option3"_s, Option3->isChecked());
    m_options->writeBoolean(u"Option4"_s, Option4->isChecked());
}

void Form1::Check1_Click()
{
    m_options->writeCheck(u"Check1"_s, Check1->isChecked());
}

void Form1::PushButton7_Click()
{
    engine::ErrorReport report(*this, u"Form1.PushButton7_Click"_s);
    report.run(100, [&] {
        m_numbers.append(SampleNumbers.at(0));
    });
    report.run(102, [&] {
        m_numbers.append(SampleNumbers.at(1));
    });
}

void Form1::PushButton8_Click()
{
    engine::ErrorReport report(*this, u"Form1.PushButton8_Click"_s);
    report.run(100, [&] {
        m_services.dialogs.message(HelpMessage(Option1->text(), Option2->text()));
    });
}

void Form1::PointerOverBackground()
{
    if (m_pointer != engine::Pointer::Hourglass)
        setPointer(engine::Pointer::Default);
}

void Form1::PointerOverButton()
{
    if (m_pointer != engine::Pointer::Hourglass)
        setPointer(engine::Pointer::Custom);
}

void Form1::mouseMoveEvent(QMouseEvent *event)
{
    // Moves over a child that ignores them arrive here too; only the bare
    // background counts.
    if (!childAt(event->position().toPoint()))
        PointerOverBackground();
    QWidget::mouseMoveEvent(event);
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && (watched == ListView1 || watched == ListView2)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (watched == ListView1)
            lists::ListView_KeyDown(*this, m_numbers, key, selectedRow(ListView1));
        else
            lists::ListView_KeyDown(*this, resultsList(), key, selectedRow(ListView2));
    }
    // A double-click anywhere on a list removes its selected item; the event
    // ends here once it did, so the view does not act on the moved rows.
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ListView1->viewport())
            return lists::ListView_DblClick(*this, m_numbers, selectedRow(ListView1));
        if (watched == ListView2->viewport())
            return lists::ListView_DblClick(*this, resultsList(), selectedRow(ListView2));
    }
    if (event->type() == QEvent::MouseMove) {
        if (qobject_cast<QPushButton *>(watched))
            PointerOverButton();
        else
            PointerOverBackground();
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Closing ends the process at once, also while a command is yielding:
    // a nested event loop would otherwise go on with the window hidden.
    event->accept();
    if (m_services.endProcess)
        m_services.endProcess();
}

int Form1::selectedRow(const QTableView *view) const
{
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// --- engine::ConversionHost ------------------------------------------------

QString Form1::runButtonCaption() const
{
    return PushButton17->text();
}

void Form1::setRunButtonCaption(const QString &caption)
{
    PushButton17->setText(caption);
}

int Form1::numberCount() const
{
    return m_numbers.rows();
}

QString Form1::numberText(int index) const
{
    return m_numbers.text(index - 1);
}

void Form1::clearResults()
{
    m_pendingResults.clear();
    m_results.clear();
}

void Form1::appendResult(const QString &line)
{
    m_pendingResults.append(line);
    scheduleRefresh();
}

bool Form1::option(int number) const
{
    switch (number) {
    case 1:
        return Option1->isChecked();
    case 2:
        return Option2->isChecked();
    case 3:
        return Option3->isChecked();
    case 4:
        return Option4->isChecked();
    }
    return false;
}

int Form1::check1Value() const
{
    return Check1->isChecked() ? 1 : 0;
}

void Form1::setProgressValue(double value)
{
    m_progressValue = value;
    m_progressDirty = true;
    scheduleRefresh();
}

void Form1::setProgressText(const QString &text)
{
    m_progressText = text;
    m_progressCount = -1;
    m_progressDirty = true;
    scheduleRefresh();
}

void Form1::showGeneratedCount(qint64 count)
{
    // Written into the caption when the window draws, not at every reading.
    m_progressCount = count;
    m_progressDirty = true;
    scheduleRefresh();
}

void Form1::showErrorReport(const QString &text)
{
    refresh();
    m_services.dialogs.showErrorReport(text);
}

void Form1::setPointer(engine::Pointer pointer)
{
    m_pointer = pointer;
    switch (pointer) {
    case engine::Pointer::Hourglass:
        setCursor(Qt::WaitCursor);
        break;
    case engine::Pointer::Custom:
        if (m_handCursor)
            setCursor(*m_handCursor);
        else
            setCursor(Qt::ArrowCursor);
        break;
    case engine::Pointer::Default:
        setCursor(Qt::ArrowCursor);
        break;
    }
}

void Form1::yield()
{
    // Long commands ask to yield at every step; the window processes events
    // only every few tens of milliseconds, after showing what is buffered.
    if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < RefreshIntervalMs)
        return;
    refresh();
    QCoreApplication::processEvents();
    // A command that ran inside may have left lines buffered (a run started
    // during another command's yield); the caller reads the list next.
    refresh();
    m_sinceEvents.start();
}

lists::ItemListModel &Form1::resultsList()
{
    refresh();
    return m_results;
}

QString Form1::shownProgressText() const
{
    return ProgressBar1->format().replace(u"%%"_s, u"%"_s);
}

void Form1::scheduleRefresh()
{
    if (m_refreshPosted)
        return;
    m_refreshPosted = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            refresh();
        },
        Qt::QueuedConnection);
}

void Form1::refresh()
{
    m_refreshPosted = false;
    if (!m_pendingResults.isEmpty()) {
        const QStringList batch = std::exchange(m_pendingResults, {});
        m_results.appendBatch(batch, true);
        ListView2->scrollToBottom();
    }
    if (m_progressDirty) {
        m_progressDirty = false;
        ProgressBar1->setValue(int(qBound(0.0, m_progressValue * 10.0, 1000.0)));
        QString format = m_progressCount >= 0
                             ? engine::ConversionRun::generatingCaption(m_progressCount)
                             : m_progressText;
        ProgressBar1->setFormat(format.replace(u'%', u"%%"_s));
    }
}

} // namespace app
