#include "ListCommands.h"

#include "CommandWindow.h"
#include "ItemListModel.h"
#include "ResultFilters.h"
#include "SortBy.h"
#include "engine/ErrorReport.h"
#include "platform/Dialogs.h"

#include <QDir>
#include <QStringList>

using namespace Qt::Literals::StringLiterals;

namespace lists {

namespace {

using engine::ErrorReport;
using engine::Pointer;

// The add command counts its pieces in a signed 16-bit counter.
constexpr qsizetype MaxPieces = 32768;

QStringView trimSpaces(QStringView text)
{
    while (!text.isEmpty() && text.front() == u' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == u' ')
        text.chop(1);
    return text;
}

} // namespace

void PushButton6_Click(CommandWindow &window)
{
    ErrorReport report(window.dialogs(), u"Form1.PushButton6_Click"_s);
    QString answer;
    report.run(100, [&] {
        answer = window.dialogs().prompt(u"Enter phone numbers or numbers (use commas): "_s);
    });
    if (report.test(102, [&] {
            return answer.isEmpty();
        }))
        return;
    QStringList pieces;
    report.run(104, [&] {
        pieces = answer.split(u',', Qt::KeepEmptyParts);
    });

    // More pieces than the counter holds: the loop cannot start, nothing is
    // appended and the command ends after the report.
    if (pieces.size() > MaxPieces) {
        report.report(108, u"Overflow"_s);
        return;
    }
    QStringList items;
    report.run(110, [&] {
        items.reserve(pieces.size());
        for (const QString &piece : std::as_const(pieces))
            items.append(trimSpaces(piece).toString());
    });
    // All pieces go to the list in one insertion, which only a lack of
    // memory can fail.
    report.run(112, [&] {
        window.numberList().appendBatch(std::move(items), false);
    });
    // The counter overflows when it steps past the last of exactly 32768
    // pieces, all of which are in the list by then.
    if (pieces.size() == MaxPieces)
        report.report(114, u"Overflow"_s);
}

void PushButton3_Click(CommandWindow &window)
{
    ErrorReport report(window.dialogs(), u"Form1.PushButton3_Click"_s);
#ifdef Q_OS_WIN
    const QChar separator = u'\\';
#else
    const QChar separator = u'/';
#endif

    QString fileName;
    report.run(108, [&] {
        QStringList chosen =
            window.dialogs().openFiles(u"Load List(s) - Hold Ctrl to select multiple list files"_s,
                                       {u"Text Files (*.txt)"_s, u"All Files (*)"_s});
        for (QString &path : chosen)
            path = QDir::toNativeSeparators(path);
        fileName = selectionText(chosen, separator);
    });
    if (fileName.size() > SelectionTextLimit) {
        window.dialogs().message(u"You've selected too many files to add.\r\r"
                                 u"Please try adding via the \"Add All\" button."_s);
        return;
    }
    if (report.test(110, [&] {
            return fileName.isEmpty();
        }))
        return;
    QStringList parts;
    report.run(112, [&] {
        parts = fileName.split(QChar(0));
    });
    report.run(114, [&] {
        window.setPointer(Pointer::Hourglass);
    });

    if (report.test(116, [&] {
            return parts.size() == 1;
        })) {
        QString path;
        report.run(118, [&] {
            path = parts.at(0);
        });
        report.run(120, [&] {
            LoadListFile(window.dialogs(), window.numberList(), path);
        });
    } else if (report.test(122, [&] {
                   return parts.size() >= 2;
               })) {
        const QString folder = parts.at(0);
        for (qsizetype i = 1; i < parts.size(); ++i) {
            QString path;
            report.run(130, [&] {
                path = folder + separator + parts.at(i);
            });
#ifdef Q_OS_WIN
            report.run(132, [&] {
                path = NormalizeBackslashes(path);
            });
#else
            report.run(132, [&] {
                path = collapseSlashes(path);
            });
#endif
            report.run(134, [&] {
                LoadListFile(window.dialogs(), window.numberList(), path);
            });
        }
    }
    report.run(138, [&] {
        window.setPointer(Pointer::Default);
    });
}

void PushButton1_Click(CommandWindow &window)
{
    ErrorReport report(window.dialogs(), u"Form1.PushButton1_Click"_s);
    report.run(100, [&] {
        if (window.pointer() != Pointer::Hourglass)
            window.numberList().clear();
    });
}

void PushButton2_Click(CommandWindow &window)
{
    ErrorReport report(window.dialogs(), u"Form1.PushButton2_Click"_s);
    report.run(100, [&] {
        window.resultsList().clear();
    });
}

namespace {

void filterResults(CommandWindow &window,
                   const QString &source,
                   const QString &prompt,
                   void (*filter)(ItemListModel &, const QString &))
{
    ErrorReport report(window.dialogs(), source);
    QString answer;
    report.run(100, [&] {
        answer = window.dialogs().prompt(prompt);
    });
    if (report.test(102, [&] {
            return answer.isEmpty();
        }))
        return;
    report.run(104, [&] {
        window.setPointer(Pointer::Hourglass);
    });
    if (report.test(106, [&] {
            return !window.resultsList().isEmpty();
        }))
        report.run(112, [&] {
            filter(window.resultsList(), answer);
        });
    else
        report.run(118, [&] {
            window.dialogs().message(u"There are no results to remove."_s);
        });
    report.run(120, [&] {
        window.setPointer(Pointer::Default);
    });
}

bool removeSelectedItem(CommandWindow &window, ItemListModel &list, int selectedRow)
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

} // namespace

void PushButton22_Click(CommandWindow &window)
{
    filterResults(window,
                  u"Form1.PushButton22_Click"_s,
                  u"Remove results containing this text: "_s,
                  &RemoveItemsContaining);
}

void PushButton23_Click(CommandWindow &window)
{
    filterResults(window,
                  u"Form1.PushButton23_Click"_s,
                  u"Remove results not containing this text: "_s,
                  &RemoveItemsNotContaining);
}

bool ListView_DblClick(CommandWindow &window, ItemListModel &list, int selectedRow)
{
    return removeSelectedItem(window, list, selectedRow);
}

bool ListView_KeyDown(CommandWindow &window, ItemListModel &list, int key, int selectedRow)
{
    if (key != Qt::Key_Delete)
        return false;
    return removeSelectedItem(window, list, selectedRow);
}

} // namespace lists
