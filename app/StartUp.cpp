// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/StartUp.h"

#include "app/ApplicationTitle.h"
#include "app/Dictionary.h"
#include "app/HandCursor.h"
#include "app/ItemListView.h"
#include "app/OptionSettings.h"
#include "app/WindowControls.h"
#include "app/WindowSkin.h"
#include "core/CommandHost.h"
#include "core/DataFolders.h"
#include "core/Database.h"
#include "core/Dialogs.h"
#include "core/ErrorReport.h"
#include "core/FileExists.h"
#include "core/ItemListModel.h"
#include "engine/LoadWords.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QRadioButton>
#include <QWidget>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

using core::ErrorReport;

enum class StartStep {
    ApplyTheme = 102,
    SetTitles = 104,
    CheckHandCursor = 106,
    LoadHandCursor = 108,
    SetNumberHeader = 128,
    SetNumberColumnWidth = 130,
    SetResultsHeader = 132,
    SetResultsColumnWidth = 134,
    CreateConnection = 136,
    CheckConnectionOpen = 138,
    CloseConnection = CheckConnectionOpen,
    OpenDictionary = 140,
    ClearWords = 142,
    ShowHourglass = 144,
    LoadWords = 146,
    RestoreIncludeOriginal = 148,
    RestoreMnemonic = 150,
    RestoreSpellOut = 152,
    RestoreWordsAndNumbers = 154,
    RestoreWordsOnly = 156,
    CheckMnemonic = 158,
    EnableMnemonicFrame = 160,
    DisableMnemonicFrame = 162,
    ShowDefaultPointer = 164,
};

const QString HandCursorFile = u"HAND-M.CUR"_s;
const QString ThemeFile = u"x/o.cjs"_s;

// The column of both lists is 7,000 twips wide.
constexpr int ListColumnWidth = 7000 / 15;

void applyLook(ErrorReport &report, const StartUpTarget &target, const core::DataFolders &folders)
{
    report.run(StartStep::ApplyTheme, [&] {
        applyWindowSkin(target.widget, folders.folderFor(ThemeFile));
    });
    report.run(StartStep::SetTitles, [&] {
        target.widget.setWindowTitle(ProductTitle);
        target.widget.setWindowIcon(QIcon(u":/digitome.png"_s));
        target.dialogs.setApplicationTitle(applicationTitleOf(ProductTitle));
    });
    const QString cursorPath = folders.folderFor(HandCursorFile) + u'/' + HandCursorFile;
    if (report.test(StartStep::CheckHandCursor, [&] {
            return core::fileExists(cursorPath);
        }))
        report.run(StartStep::LoadHandCursor, [&] {
            target.handCursor = loadHandCursor(cursorPath);
        });
}

void setUpLists(ErrorReport &report, const StartUpTarget &target)
{
    report.run(StartStep::SetNumberHeader, [&] {
        target.window.numberList().setHeaders({u"Phone Number"_s});
    });
    report.run(StartStep::SetNumberColumnWidth, [&] {
        target.controls.numberList->setColumnWidth(0, ListColumnWidth);
    });
    report.run(StartStep::SetResultsHeader, [&] {
        target.window.resultsList().setHeaders({u"Results"_s});
    });
    report.run(StartStep::SetResultsColumnWidth, [&] {
        target.controls.resultsList->setColumnWidth(0, ListColumnWidth);
    });
}

void loadDictionary(ErrorReport &report,
                    const StartUpTarget &target,
                    const core::DataFolders &folders)
{
    Dictionary &dictionary = target.dictionary;
    auto connection = [&]() -> core::Connection & {
        if (!dictionary.connection)
            throw core::Failure(u"Object variable or With block variable not set"_s);
        return *dictionary.connection;
    };
    report.run(StartStep::CreateConnection, [&] {
        dictionary.connection = dictionary.createConnection();
    });
    if (report.test(StartStep::CheckConnectionOpen, [&] {
            return connection().state() != core::ObjectState::Closed;
        }))
        report.run(StartStep::CloseConnection, [&] {
            connection().close();
        });
    report.run(StartStep::OpenDictionary, [&] {
        connection().open(core::wordsConnectionText(folders.dictionaryFolder()));
    });
    report.run(StartStep::ClearWords, [&] {
        dictionary.words = engine::WordStore();
    });
    report.run(StartStep::ShowHourglass, [&] {
        target.window.setPointer(core::Pointer::Hourglass);
    });
    report.run(StartStep::LoadWords, [&] {
        engine::loadWords(connection(), dictionary.words);
    });
}

// Selecting an option deselects its partner; deselecting may leave neither
// selected, which an exclusive group would refuse.
void setOptionState(QRadioButton *option, bool selected)
{
    QButtonGroup *group = option->group();
    group->setExclusive(false);
    if (selected)
        for (QAbstractButton *partner : group->buttons())
            partner->setChecked(partner == option);
    else
        option->setChecked(false);
    group->setExclusive(true);
}

void restoreOptions(ErrorReport &report, const StartUpTarget &target)
{
    const WindowControls &c = target.controls;
    report.run(StartStep::RestoreIncludeOriginal, [&] {
        c.includeOriginalCheck->setChecked(target.options.read(Control::IncludeOriginalCheck)
                                           == u"1"_s);
    });
    const std::tuple<StartStep, Control, QRadioButton *> options[] = {
        {StartStep::RestoreMnemonic, Control::MnemonicOption, c.mnemonicOption},
        {StartStep::RestoreSpellOut, Control::SpellOutOption, c.spellOutOption},
        {StartStep::RestoreWordsAndNumbers,
         Control::WordsAndNumbersOption,
         c.wordsAndNumbersOption},
        {StartStep::RestoreWordsOnly, Control::WordsOnlyOption, c.wordsOnlyOption},
    };
    for (const auto &[step, control, option] : options) {
        report.run(step, [&] {
            setOptionState(option, OptionSettings::toBoolean(target.options.read(control)));
        });
    }
    if (report.test(StartStep::CheckMnemonic, [&] {
            return c.mnemonicOption->isChecked();
        }))
        report.run(StartStep::EnableMnemonicFrame, [&] {
            c.mnemonicFrame->setEnabled(true);
        });
    else
        report.run(StartStep::DisableMnemonicFrame, [&] {
            c.mnemonicFrame->setEnabled(false);
        });
}

} // namespace

void startUp(const StartUpTarget &target, const core::DataFolders &folders)
{
    ErrorReport report(target.window, core::Procedure::StartUp);
    applyLook(report, target, folders);
    setUpLists(report, target);
    loadDictionary(report, target, folders);
    restoreOptions(report, target);
    report.run(StartStep::ShowDefaultPointer, [&] {
        target.window.setPointer(core::Pointer::Default);
    });
}

} // namespace app
