// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "output/ClipboardCopy.h"

#include "core/Clipboard.h"
#include "core/Failure.h"
#include "core/ItemListModel.h"
#include "output/ColumnText.h"

#include <QList>

#include <algorithm>
#include <new>

using namespace Qt::Literals::StringLiterals;

namespace output {

namespace {

template <typename Attempt>
bool retry(Attempt &&attempt)
{
    for (int i = 0; i < ClipboardAttempts; ++i) {
        try {
            if (attempt())
                return true;
        } catch (const core::Failure &) {
            // a refused attempt; try again
        }
    }
    return false;
}

} // namespace

QString clipboardText(const core::ItemListModel &list, const Yield &yield)
{
    const auto step = [&] {
        if (yield)
            yield();
    };
    const int columns = list.columns();
    QList<qsizetype> widths;
    // The text's room is taken at once: growing a text of hundreds of
    // megabytes copies it, in one long step, when it moves to new memory.
    qsizetype lastColumnChars = 0;
    for (int c = 0; c < columns; ++c) {
        qsizetype width = 0;
        const int rows = list.rows();
        for (int r = 0; r < rows; ++r) {
            step();
            const qsizetype length = list.text(r, c).size();
            width = std::max(width, length);
            if (c == columns - 1)
                lastColumnChars += length;
        }
        widths.append(width);
    }

    QString text;
    const qsizetype rowsNow = list.rows();
    qsizetype paddedChars = 0;
    for (qsizetype c = 0; c + 1 < widths.size(); ++c)
        paddedChars += widths.at(c) + 1;
    // An estimate past what may be had is left to growing.
    constexpr qsizetype MostReserved = qsizetype(1) << 29;
    const qsizetype lineChars = paddedChars + 2;
    if (lastColumnChars < MostReserved && rowsNow <= (MostReserved - lastColumnChars) / lineChars) {
        try {
            text.reserve(rowsNow * lineChars + lastColumnChars);
        } catch (const std::bad_alloc &) {
        }
    }
    const int rows = list.rows();
    for (int i = 0; i < rows; ++i) {
        step();
        if (!list.isChecked(i))
            continue;
        const qsizetype lineStart = text.size();
        for (int j = 0; j < columns; ++j) {
            step();
            detail::appendPadded(text, list.text(i, j), widths.at(j));
        }
        // Drop the last column's TAB, then its trailing spaces; the previous
        // line ends with CR LF, so trimming stops at this line's start.
        qsizetype end = text.size();
        if (end > lineStart)
            --end;
        while (end > lineStart && text.at(end - 1) == u' ')
            --end;
        text.truncate(end);
        text += u"\r\n"_s;
    }
    if (text.capacity() - text.size() > text.size() / 8)
        text.squeeze();
    return text;
}

void copyListToClipboard(const core::ItemListModel &list,
                         core::Clipboard &clipboard,
                         const Yield &yield)
{
    if (list.rows() == 0)
        return;
    const QString text = clipboardText(list, yield);
    clearClipboard(clipboard);
    if (!setClipboardText(clipboard, text))
        throw ClipboardRefused(u"The clipboard did not accept the results."_s);
}

void clearClipboard(core::Clipboard &clipboard)
{
    retry([&] {
        return clipboard.clear();
    });
}

bool setClipboardText(core::Clipboard &clipboard, const QString &text)
{
    return retry([&] {
        return clipboard.setText(text);
    });
}

} // namespace output
