// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/WindowControls.h"

#include "app/CheckMarkStyle.h"
#include "app/ControlTable.h"
#include "app/FrameStyle.h"
#include "app/ItemListView.h"
#include "app/ProgressCaptionBar.h"
#include "app/PushButtonAccessible.h"
#include "core/ItemListModel.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

const QString ListToolTip = u"Double-click item to remove it. Move | line to right and out of "
                            "window to reveal full names."_s;

// The window is white, and so are its frames, options and lists; the text on
// them is black whatever the desktop's colour scheme, so that a dark scheme
// does not put light text on white. The selection is dark blue with white
// text (6.3 to 1; the bar stands out 6.3 to 1 from the white list), with
// and without focus. Buttons keep the scheme's colours, which are made to
// go together.
QPalette whiteWithDarkText(QPalette palette)
{
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0x1a, 0x5f, 0xb4));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    for (const QPalette::ColorRole role :
         {QPalette::Window, QPalette::Base, QPalette::AlternateBase})
        palette.setColor(role, Qt::white);
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, Qt::black);
    // Disabled captions stay readable on white: 5.4 to 1.
    for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, QColor(0x69, 0x69, 0x69));
    palette.setColor(QPalette::PlaceholderText, QColor(0x69, 0x69, 0x69));
    return palette;
}

// List headers are light grey with black text, like the lists they head.
void setUpHeader(QHeaderView &header)
{
    QPalette palette = header.palette();
    palette.setColor(QPalette::Button, QColor(0xf0, 0xf0, 0xf0));
    palette.setColor(QPalette::ButtonText, Qt::black);
    palette.setColor(QPalette::Window, Qt::white);
    header.setPalette(palette);
}

QFont boldArial(qreal points)
{
    QFont font(u"Arial"_s);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void setUpWindow(QWidget &window)
{
    window.setObjectName(MainWindowObjectName.toString());
    window.setFixedSize(15960 / 15, 7065 / 15);
    window.setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                          | Qt::WindowCloseButtonHint);
    window.setFont(boldArial(9));
    window.setPalette(whiteWithDarkText(window.palette()));
    window.setAutoFillBackground(true);
    window.setMouseTracking(true);
}

void setUpList(ItemListView &view, core::ItemListModel &model, QObject &eventFilter)
{
    view.setModel(&model);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setSelectionBehavior(QAbstractItemView::SelectRows);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    view.horizontalHeader()->setStretchLastSection(false);
    view.horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    view.horizontalHeader()->setHighlightSections(false);
    setUpHeader(*view.horizontalHeader());
    view.setToolTip(ListToolTip);
    view.viewport()->setMouseTracking(true);
    view.viewport()->installEventFilter(&eventFilter);
    view.installEventFilter(&eventFilter);
}

void setUpProgressBar(ProgressCaptionBar &bar, QObject &eventFilter)
{
    // Moves over the bar reach the window, which shows the arrow there.
    bar.setMouseTracking(true);
    bar.installEventFilter(&eventFilter);
    bar.setRange(0, 1000);
    bar.setValue(0);
    bar.setTextVisible(true);
    bar.setAlignment(Qt::AlignCenter);
    bar.setCaption(captionOf(Control::ProgressBar));
}

// Creates one control of the table as a `Widget` inside its container.
template <typename Widget>
Widget *create(Control control, QWidget &window, const std::map<Control, QWidget *> &created)
{
    const ControlEntry &entry = entryOf(control);
    QWidget *container = entry.container ? created.at(*entry.container) : &window;
    auto *widget = new Widget(container);
    widget->setObjectName(QString::fromUtf16(entry.objectName));
    widget->setGeometry(entry.geometry());
    if constexpr (std::is_same_v<Widget, QGroupBox>)
        widget->setTitle(QString::fromUtf16(entry.caption));
    else if constexpr (std::is_base_of_v<QAbstractButton, Widget>)
        widget->setText(QString::fromUtf16(entry.caption));
    return widget;
}

// The options come in two exclusive pairs. Qt's automatic exclusivity would
// also reach the options of the nested frame, so the groups are explicit.
void groupOptions(QWidget &window, const WindowControls &c)
{
    for (const auto &[first, second] : {std::pair{c.mnemonicOption, c.spellOutOption},
                                        std::pair{c.wordsAndNumbersOption, c.wordsOnlyOption}}) {
        auto *group = new QButtonGroup(&window);
        group->addButton(first);
        group->addButton(second);
    }
    // Designed state: mnemonic conversion, words only.
    c.mnemonicOption->setChecked(true);
    c.wordsOnlyOption->setChecked(true);
}

// What screen readers announce for the controls whose captions do not say it.
void describeForScreenReaders(const WindowControls &c)
{
    const std::tuple<QWidget *, const char16_t *, const char16_t *> texts[] = {
        {c.numberList,
         u"Phone numbers",
         u"The numbers to convert. Double-click a number or press Delete to remove it."},
        {c.resultsList,
         u"Results",
         u"The result lines; the ticked ones are saved, copied and exported. Double-click a "
         u"line or press Delete to remove it. The context menu chooses the order and the "
         u"language of spelled-out digits."},
        {c.convertFrame, u"Convert Option", u"How the numbers are converted."},
        {c.mnemonicFrame, u"Mnemonic Option", u"Which mnemonic lines are kept."},
        {c.includeFrame, u"Include Option", u"What is added to every result line."},
        {c.progressBar, u"Progress", u"How far the command that runs has come."},
    };
    for (const auto &[widget, name, description] : texts) {
        widget->setAccessibleName(QString::fromUtf16(name));
        widget->setAccessibleDescription(QString::fromUtf16(description));
    }
}

// Tab enters each pair of options at its checked one: the other leaves the
// tab chain while unchecked (the arrow keys and a click still reach it).
void keepTabOnCheckedOptions(const WindowControls &c)
{
    for (QRadioButton *option :
         {c.mnemonicOption, c.spellOutOption, c.wordsAndNumbersOption, c.wordsOnlyOption}) {
        const auto follow = [option](bool checked) {
            option->setFocusPolicy(checked ? Qt::StrongFocus : Qt::ClickFocus);
        };
        follow(option->isChecked());
        QObject::connect(option, &QRadioButton::toggled, option, follow);
    }
}

// Keyboard order by the designed tab indices.
void setTabOrder(QWidget &window, const WindowControls &c)
{
    const QList<QWidget *> order{c.numberList,
                                 c.resultsList,
                                 c.addNumbersButton,
                                 c.loadFileButton,
                                 c.clearNumbersButton,
                                 c.startButton,
                                 c.saveTextButton,
                                 c.spreadsheetButton,
                                 c.clearResultsButton,
                                 c.copyButton,
                                 c.sampleButton,
                                 c.helpButton,
                                 c.mnemonicOption,
                                 c.spellOutOption,
                                 c.includeOriginalCheck,
                                 c.removeContainingButton,
                                 c.removeNotContainingButton,
                                 c.wordsAndNumbersOption,
                                 c.wordsOnlyOption};
    for (qsizetype i = 1; i < order.size(); ++i)
        window.setTabOrder(order.at(i - 1), order.at(i));
}

} // namespace

WindowControls createControls(QWidget &window,
                              core::ItemListModel &numbers,
                              core::ItemListModel &results,
                              QObject &eventFilter)
{
    setUpWindow(window);
    installPushButtonAccessible();
    const QFont buttonFont = boldArial(11.25);
    WindowControls c;
    std::map<Control, QWidget *> created;
    auto *frameStyle = new FrameStyle;
    frameStyle->setParent(&window);
    auto *markStyle = new CheckMarkStyle;
    markStyle->setParent(&window);
    const auto make = [&]<typename Widget>(Widget *&target, Control control) {
        target = create<Widget>(control, window, created);
        created[control] = target;
        if constexpr (std::is_same_v<Widget, QPushButton>) {
            target->setFont(buttonFont);
            target->setMouseTracking(true);
            target->installEventFilter(&eventFilter);
        } else if constexpr (std::is_same_v<Widget, QGroupBox>) {
            target->setMouseTracking(true);
            target->installEventFilter(&eventFilter);
            target->setStyle(frameStyle);
        } else if constexpr (
            std::is_same_v<
                Widget,
                QRadioButton> || std::is_same_v<Widget, QCheckBox> || std::is_same_v<Widget, ItemListView>) {
            target->setStyle(markStyle);
        }
    };
    make(c.helpButton, Control::HelpButton);
    make(c.numberList, Control::NumberList);
    make(c.addNumbersButton, Control::AddNumbersButton);
    make(c.loadFileButton, Control::LoadFileButton);
    make(c.clearNumbersButton, Control::ClearNumbersButton);
    make(c.sampleButton, Control::SampleButton);
    make(c.convertFrame, Control::ConvertFrame);
    make(c.mnemonicOption, Control::MnemonicOption);
    make(c.mnemonicFrame, Control::MnemonicFrame);
    make(c.wordsOnlyOption, Control::WordsOnlyOption);
    make(c.wordsAndNumbersOption, Control::WordsAndNumbersOption);
    make(c.spellOutOption, Control::SpellOutOption);
    make(c.includeFrame, Control::IncludeFrame);
    make(c.includeOriginalCheck, Control::IncludeOriginalCheck);
    make(c.startButton, Control::StartButton);
    make(c.resultsList, Control::ResultsList);
    make(c.saveTextButton, Control::SaveTextButton);
    make(c.spreadsheetButton, Control::SpreadsheetButton);
    make(c.copyButton, Control::CopyButton);
    make(c.clearResultsButton, Control::ClearResultsButton);
    make(c.removeContainingButton, Control::RemoveContainingButton);
    make(c.removeNotContainingButton, Control::RemoveNotContainingButton);
    make(c.progressBar, Control::ProgressBar);

    setUpList(*c.numberList, numbers, eventFilter);
    setUpList(*c.resultsList, results, eventFilter);
    setUpProgressBar(*c.progressBar, eventFilter);
    describeForScreenReaders(c);
    keepTabOnCheckedOptions(c);
    groupOptions(window, c);
    setTabOrder(window, c);
    return c;
}

} // namespace app
