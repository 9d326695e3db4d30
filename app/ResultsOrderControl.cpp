// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "app/ResultsOrderControl.h"

#include "app/ItemListView.h"
#include "app/OptionSettings.h"
#include "core/Dialogs.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>

#include <array>
#include <new>

using namespace Qt::Literals::StringLiterals;

namespace app {

namespace {

// The captions of the orders, also what the settings store.
const std::array<std::pair<ResultsOrderControl::Order, QString>, 4> Orders{{
    {ResultsOrderControl::Order::AsFound, u"As found"_s},
    {ResultsOrderControl::Order::BestFirst, u"Best first"_s},
    {ResultsOrderControl::Order::AToZ, u"A to Z"_s},
    {ResultsOrderControl::Order::BestNumberFirst, u"Best number first"_s},
}};

QString captionOf(ResultsOrderControl::Order order)
{
    for (const auto &[entry, caption] : Orders)
        if (entry == order)
            return caption;
    return Orders.front().second;
}

} // namespace

ResultsOrderControl::ResultsOrderControl(ItemListView &view,
                                         core::ItemListModel &results,
                                         OptionSettings &settings,
                                         core::Dialogs &dialogs,
                                         std::function<core::ItemListModel::Rank()> bestFirstRank)
    : QObject(&view)
    , m_view(view)
    , m_results(results)
    , m_settings(settings)
    , m_dialogs(dialogs)
    , m_bestFirstRank(std::move(bestFirstRank))
{
    QHeaderView *header = view.horizontalHeader();
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, [this] {
        setOrder(order() == Order::AsFound ? Order::BestFirst : Order::AsFound);
    });
    connect(&results, &core::ItemListModel::orderShown, this, [this] {
        if (m_results.order() == Order::AsFound)
            m_view.scrollToBottom();
        else
            m_view.scrollToTop();
    });
    connect(&results, &core::ItemListModel::orderFailed, this, [this] {
        m_settings.write(OptionSettings::Choice::ResultsOrder, captionOf(order()));
        showOrder();
        m_dialogs.message(u"There is not enough memory to show the results in this order."_s);
    });
    view.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&view, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu menu(&m_view);
        fillMenu(menu);
        menu.exec(m_view.viewport()->mapToGlobal(at));
    });
}

void ResultsOrderControl::restore()
{
    const QString stored = m_settings.read(OptionSettings::Choice::ResultsOrder);
    Order order = Order::AsFound;
    for (const auto &[entry, caption] : Orders)
        if (caption == stored)
            order = entry;
    // Ranks are computed once per line, with one ranking for the list's life.
    m_results.setRank(m_bestFirstRank());
    m_ranked = true;
    m_results.setOrder(order);
    showOrder();
}

void ResultsOrderControl::setOrder(Order order)
{
    if (order == m_results.order())
        return;
    // Sorting a long list needs memory; without it the list keeps its order.
    try {
        if (!m_ranked) {
            m_results.setRank(m_bestFirstRank());
            m_ranked = true;
        }
        m_results.setOrder(order);
    } catch (const std::bad_alloc &) {
        m_dialogs.message(u"There is not enough memory to show the results in this order."_s);
        return;
    }
    m_settings.write(OptionSettings::Choice::ResultsOrder, captionOf(order));
    showOrder();
}

void ResultsOrderControl::showOrder()
{
    QHeaderView *header = m_view.horizontalHeader();
    header->setSortIndicatorShown(order() != Order::AsFound);
    header->setSortIndicator(0, Qt::AscendingOrder);
}

void ResultsOrderControl::fillMenu(QMenu &menu)
{
    m_results.showPending();
    QAction *count = menu.addAction(
        countLine(m_results.rows(), m_results.checkedRows(), m_results.hiddenLines()));
    count->setEnabled(false);
    menu.addSeparator();
    auto *group = new QActionGroup(&menu);
    for (const auto &[entry, caption] : Orders) {
        QAction *action = menu.addAction(caption);
        action->setCheckable(true);
        action->setChecked(entry == order());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, entry = entry] {
            setOrder(entry);
        });
    }
    for (const auto &fill : m_moreChoices) {
        menu.addSeparator();
        fill(menu);
    }
}

QString ResultsOrderControl::countLine(qint64 results, qint64 ticked, qint64 hidden)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    QString line = u"%1 %2, %3 ticked"_s.arg(english.toString(results),
                                             results == 1 ? u"result"_s : u"results"_s,
                                             english.toString(ticked));
    if (hidden > 0)
        line += u", %1 hidden"_s.arg(english.toString(hidden));
    return line;
}

} // namespace app
