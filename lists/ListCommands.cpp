// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "lists/ListCommands.h"

#include "core/CommandHost.h"
#include "core/Dialogs.h"
#include "core/ErrorReport.h"
#include "core/FileExists.h"
#include "core/ItemListModel.h"
#include "core/TextRules.h"
#include "lists/ListFiles.h"
#include "lists/ResultFilters.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace lists {

namespace {

using core::CommandHost;
using core::ErrorReport;
using core::ItemListModel;
using core::Pointer;
using core::Procedure;

enum class AddStep {
    Prompt = 100,
    CheckNoAnswer = 102,
    SplitAtCommas = 104,
    TooManyPieces = 108,
    TrimPieces = 110,
    AppendPieces = 112,
    CounterOverflow = 114,
};

enum class LoadStep {
    ChooseFiles = 108,
    CheckNoneChosen = 110,
    SplitSelection = 112,
    ShowHourglass = 114,
    CheckOneFile = 116,
    TakePath = 118,
    LoadOneFile = 120,
    CheckSeveralFiles = 122,
    JoinPath = 130,
    TidyPath = 132,
    LoadEachFile = 134,
    ShowDefaultPointer = 138,
};

enum class ClearStep {
    Clear = 100,
};

enum class FilterStep {
    Prompt = 100,
    CheckNoAnswer = 102,
    ShowHourglass = 104,
    CheckResults = 106,
    Remove = 112,
    SayNoResults = 118,
    ShowDefaultPointer = 120,
};

// The add command counts its pieces in a signed 16-bit counter.
constexpr qsizetype MaxPieces = 32768;

// The pieces of a typed or pasted text: commas and line breaks (CR LF, CR or
// LF) separate them, and empty pieces are kept; a line break at the very end
// (a pasted column of numbers) adds no empty piece. Calls `piece` for each,
// until it returns false.
template <typename Piece>
void forEachNumber(QStringView text, Piece piece)
{
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n') || text.endsWith(u'\r'))
        text.chop(1);
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u',' && c != u'\n' && c != u'\r')
            continue;
        if (!piece(text.sliced(start, i - start)))
            return;
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    piece(text.sliced(start));
}

} // namespace

void addNumbers(CommandHost &window, core::Dialogs &dialogs)
{
    ErrorReport report(window, Procedure::AddNumbers);
    QString answer;
    report.run(AddStep::Prompt, [&] {
        answer = dialogs.prompt(u"Enter phone numbers or numbers (use commas): "_s);
    });
    if (report.test(AddStep::CheckNoAnswer, [&] {
            return answer.isEmpty();
        }))
        return;
    // The pieces are counted before any is copied, and only as far as the
    // counter holds: a pasted text of megabytes with too many pieces is
    // refused at once.
    qsizetype pieces = 0;
    report.run(AddStep::SplitAtCommas, [&] {
        forEachNumber(answer, [&](QStringView) {
            return ++pieces <= MaxPieces;
        });
    });

    // More pieces than the counter holds: the loop cannot start, nothing is
    // appended and the command ends after the report.
    if (pieces > MaxPieces) {
        report.report(AddStep::TooManyPieces, u"Overflow"_s);
        return;
    }
    QStringList items;
    report.run(AddStep::TrimPieces, [&] {
        items.reserve(pieces);
        forEachNumber(answer, [&](QStringView piece) {
            const QStringView trimmed = core::text::trimBlanks(piece);
            // The whole answer as one piece is shared, not copied.
            items.append(trimmed.size() == answer.size() ? answer : trimmed.toString());
            return true;
        });
    });
    // All pieces go to the list in one insertion, which only a lack of
    // memory can fail.
    report.run(AddStep::AppendPieces, [&] {
        window.numberList().appendBatch(std::move(items), false);
    });
    // The counter overflows when it steps past the last of exactly 32768
    // pieces, all of which are in the list by then.
    if (pieces == MaxPieces)
        report.report(AddStep::CounterOverflow, u"Overflow"_s);
}

namespace {

#ifdef Q_OS_WIN
constexpr QChar PathSeparator = u'\\';
#else
constexpr QChar PathSeparator = u'/';
#endif

// A path joined from the dialog's folder and a file name, tidied as the
// platform needs it.
QString tidyPath(const QString &path)
{
#ifdef Q_OS_WIN
    return normalizeBackslashes(path);
#else
    return collapseSlashes(path);
#endif
}

// The files of one load, one after the other: the load yields after every
// chunk, showing the items so far and its progress, and the start button
// (reading "Stop" meanwhile) ends it. Files that hold more than a load reads
// together are refused before any is read.
void loadFiles(ErrorReport &report,
               CommandHost &window,
               core::Dialogs &dialogs,
               const QStringList &paths,
               LoadStep step)
{
    if (paths.isEmpty() || !report.run(step, [&] {
            refuseLargeLoad(paths);
        }))
        return;
    window.showLoading(true);
    ListFileLoad load(window.numberList(),
                      listFilesSize(paths),
                      [&window](double done, const QString &path, qint64 items) {
                          window.numberList().showPending();
                          window.setProgressValue(done * 100);
                          window.setProgressText(u"Reading file: %1 (%2)"_s.arg(
                              QFileInfo(path).fileName(), QString::number(items)));
                          window.yield();
                          return !window.loadStopRequested();
                      });
    bool goOn = true;
    for (const QString &path : paths) {
        report.run(step, [&] {
            if (!core::fileExists(path))
                dialogs.message(u"File not found"_s);
            else
                goOn = load.append(path);
        });
        window.numberList().showPending();
        if (!goOn)
            break;
    }
    window.setProgressValue(0);
    window.setProgressText(u"Progress Bar"_s);
    window.showLoading(false);
}

} // namespace

void loadNumbersFromFile(CommandHost &window, core::Dialogs &dialogs)
{
    ErrorReport report(window, Procedure::LoadNumbersFromFile);
    QString fileName;
    report.run(LoadStep::ChooseFiles, [&] {
        QStringList chosen =
            dialogs.openFiles(u"Load List(s) - Hold Ctrl to select multiple list files"_s,
                              {u"Text Files (*.txt)"_s, u"All Files (*)"_s});
        for (QString &path : chosen)
            path = QDir::toNativeSeparators(path);
        fileName = selectionText(chosen, PathSeparator);
    });
    if (fileName.size() > SelectionTextLimit) {
        dialogs.message(u"You've selected too many files to add.\r\r"
                        u"Please try adding via the \"Add All\" button."_s);
        return;
    }
    if (report.test(LoadStep::CheckNoneChosen, [&] {
            return fileName.isEmpty();
        }))
        return;
    QStringList parts;
    report.run(LoadStep::SplitSelection, [&] {
        parts = fileName.split(QChar(0));
    });
    report.run(LoadStep::ShowHourglass, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    QStringList paths;
    LoadStep loadStep = LoadStep::LoadOneFile;
    if (report.test(LoadStep::CheckOneFile, [&] {
            return parts.size() == 1;
        })) {
        report.run(LoadStep::TakePath, [&] {
            paths.append(parts.at(0));
        });
    } else if (report.test(LoadStep::CheckSeveralFiles, [&] {
                   return parts.size() >= 2;
               })) {
        // The folder first, then the names.
        loadStep = LoadStep::LoadEachFile;
        const QString folder = parts.at(0);
        for (qsizetype i = 1; i < parts.size(); ++i) {
            QString path;
            report.run(LoadStep::JoinPath, [&] {
                path = folder + PathSeparator + parts.at(i);
            });
            report.run(LoadStep::TidyPath, [&] {
                path = tidyPath(path);
            });
            paths.append(path);
        }
    }
    loadFiles(report, window, dialogs, paths, loadStep);
    report.run(LoadStep::ShowDefaultPointer, [&] {
        window.setPointer(Pointer::Default);
    });
}

void clearNumbers(CommandHost &window)
{
    ErrorReport report(window, Procedure::ClearNumbers);
    report.run(ClearStep::Clear, [&] {
        if (window.pointer() != Pointer::Hourglass)
            window.numberList().clear();
    });
}

void clearResults(CommandHost &window)
{
    ErrorReport report(window, Procedure::ClearResults);
    report.run(ClearStep::Clear, [&] {
        window.resultsList().clear();
    });
}

namespace {

void filterResults(CommandHost &window,
                   core::Dialogs &dialogs,
                   Procedure procedure,
                   const QString &prompt,
                   void (*filter)(ItemListModel &, const QString &, const std::function<void()> &))
{
    ErrorReport report(window, procedure);
    QString answer;
    report.run(FilterStep::Prompt, [&] {
        answer = dialogs.prompt(prompt);
    });
    if (report.test(FilterStep::CheckNoAnswer, [&] {
            return answer.isEmpty();
        }))
        return;
    report.run(FilterStep::ShowHourglass, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    if (report.test(FilterStep::CheckResults, [&] {
            return !window.resultsList().isEmpty();
        }))
        report.run(FilterStep::Remove, [&] {
            filter(window.resultsList(), answer, [&window] {
                window.yield();
            });
        });
    else
        report.run(FilterStep::SayNoResults, [&] {
            dialogs.message(u"There are no results to remove."_s);
        });
    report.run(FilterStep::ShowDefaultPointer, [&] {
        window.setPointer(Pointer::Default);
    });
}

} // namespace

void removeResultsContaining(CommandHost &window, core::Dialogs &dialogs)
{
    filterResults(window,
                  dialogs,
                  Procedure::RemoveResultsContaining,
                  u"Remove results containing this text: "_s,
                  &removeItemsContaining);
}

void removeResultsNotContaining(CommandHost &window, core::Dialogs &dialogs)
{
    filterResults(window,
                  dialogs,
                  Procedure::RemoveResultsNotContaining,
                  u"Remove results not containing this text: "_s,
                  &removeItemsNotContaining);
}

bool removeSelectedItem(CommandHost &window, ItemListModel &list, int selectedRow)
{
    if (window.pointer() == Pointer::Hourglass)
        return false;
    if (list.isEmpty())
        return false;
    // A selection the list no longer has counts as none.
    if (selectedRow < 0 || selectedRow >= list.rows())
        return false;
    list.removeAt(selectedRow);
    return true;
}

bool removeSelectedOnKey(CommandHost &window, ItemListModel &list, int key, int selectedRow)
{
    return key == Qt::Key_Delete && removeSelectedItem(window, list, selectedRow);
}

} // namespace lists
