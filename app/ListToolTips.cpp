// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ListToolTips.h"

#include "app/ItemListView.h"
#include "core/ItemListModel.h"
#include "engine/DialledNumber.h"
#include "engine/LineRanking.h"

#include <QHelpEvent>
#include <QLocale>
#include <QToolTip>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace app {

ListToolTips::ListToolTips(ItemListView &view, std::function<QString(int row)> textOf)
    : QObject(&view)
    , m_view(view)
    , m_textOf(std::move(textOf))
{
    view.viewport()->installEventFilter(this);
}

bool ListToolTips::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip || watched != m_view.viewport())
        return false;
    const auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex index = m_view.indexAt(help->pos());
    if (!index.isValid())
        return false;
    const QString text = m_textOf(index.row());
    if (text.isEmpty())
        return false;
    // Shown until the pointer leaves the row.
    QToolTip::showText(help->globalPos(), text, m_view.viewport(), m_view.visualRect(index));
    return true;
}

QString numberToolTip(const core::ItemListModel &numbers, int row)
{
    if (row < 0 || row >= numbers.rows())
        return {};
    const QString number = numbers.text(row);
    if (std::none_of(number.cbegin(), number.cend(), [](QChar c) {
            return c.isLetter() || c.isSurrogate();
        }))
        return {};
    const engine::DialledNumber dialled = engine::dialledNumber(number);
    // A tool tip's lines are not wrapped: the texts of a long item are cut.
    const auto cut = [](const QString &part) {
        constexpr qsizetype MostShown = 200;
        return part.size() <= MostShown ? part : part.first(MostShown) + QChar(0x2026);
    };
    QString text = u"Dials %1"_s.arg(cut(dialled.digits));
    if (!dialled.undialledLetters.isEmpty()) {
        const bool one = dialled.undialledLetters.size() == 1;
        text += u"\nLonger than a North American number (%1 digits%2): the last %3 %4 %5 not "
                u"dialled."_s.arg(QString::number(dialled.planLength),
                                  dialled.planLength == 11 ? u" with the leading 1"_s : QString(),
                                  one ? u"letter"_s : u"letters"_s,
                                  cut(dialled.undialledLetters),
                                  one ? u"is"_s : u"are"_s);
    }
    if (!dialled.lettersOnNoKey.isEmpty())
        text += u"\nOn no telephone key, kept as typed: %1"_s.arg(cut(dialled.lettersOnNoKey));
    return text;
}

QString resultToolTip(const core::ItemListModel &results, const engine::WordStore &words, int row)
{
    if (!core::ItemListModel::isRanked(results.order()) || row < 0 || row >= results.rows())
        return {};
    const engine::LineScore score =
        engine::LineRanking(words, results.groupOfRow(row)).explain(results.text(row));
    if (score.score == 0)
        return {};
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString text = u"Score %1 (larger is better)"_s.arg(english.toString(score.score));
    for (const auto &[name, value] : score.parts())
        text += u"\n%1: %2"_s.arg(QString(name).replace(u'_', u' '), value);
    return text;
}

} // namespace app
