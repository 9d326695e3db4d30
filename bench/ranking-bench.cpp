// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-ranking-bench: how often the line ranking puts a well-known vanity
// word first, and how long ranking and ordering a million lines takes.
//
//     digitome-ranking-bench [--words FILE.mdb] [--lines N] [--show]
//
// Every case is a number as a person types it (area codes and toll-free
// prefixes in several styles) and the word its last digits spell. Each is
// converted under "Words and numbers" with the dictionary (default: the
// dbWords.mdb beside this program) and its lines ordered three ways: by the
// ranking, by the longest word alone (stable) and as found. A case is a hit
// when the best line is the typed prefix as digits followed by the word; a
// top-3 hit when the word is a whole piece of one of the three best lines.
// --show prints the three best lines of every case the ranking misses.
// Then N lines (default 1,000,000) of a long number get their keys and are
// ordered best first; the best of five runs is reported.

#include "engine/LineRanking.h"
#include "engine/NumberText.h"
#include "tests/support/ConversionLines.h"
#include "tests/support/MdbWords.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Case
{
    QString typed;
    QString word;
};

// Words of the shipped dictionary, each behind another prefix and typed in
// another style. Some share their digits with other words of the dictionary
// (BOOKING, COOKING and COOLING; OFFICES and OFFICER; CONCERT and CONCEPT).
const Case Cases[] = {
    {u"1-800-356-9377"_s, u"FLOWERS"_s},      {u"(212) 724-6837"_s, u"PAINTER"_s},
    {u"6462665464"_s, u"BOOKING"_s},          {u"888-336-8478"_s, u"DENTIST"_s},
    {u"(415)529-9377"_s, u"LAWYERS"_s},       {u"312 7586237"_s, u"PLUMBER"_s},
    {u"(877) 266-8228"_s, u"CONTACT"_s},      {u"1 (213) 228-8379"_s, u"BATTERY"_s},
    {u"310-732-9253"_s, u"RECYCLE"_s},        {u"1 (866) 465-4329"_s, u"HOLIDAY"_s},
    {u"6175427279"_s, u"LIBRARY"_s},          {u"1-202-362-8677"_s, u"DOCTORS"_s},
    {u"+1-855-842-5387"_s, u"TICKETS"_s},     {u"305 7428873"_s, u"PICTURE"_s},
    {u"+1 (702) 227-7387"_s, u"CARPETS"_s},   {u"1 844 5482436"_s, u"KITCHEN"_s},
    {u"206-687-4225"_s, u"MUSICAL"_s},        {u"(718) 539-3579"_s, u"JEWELRY"_s},
    {u"18333486377"_s, u"FITNESS"_s},         {u"1-917-427-3367"_s, u"GARDENS"_s},
    {u"(404)829-4222"_s, u"TAXICAB"_s},       {u"800-786-7243"_s, u"STORAGE"_s},
    {u"512 7275464"_s, u"PARKING"_s},         {u"+1 (303) 268-7437"_s, u"COURIER"_s},
    {u"+1-888-356-7478"_s, u"FLORIST"_s},     {u"347-244-2536"_s, u"CHICKEN"_s},
    {u"(929) 932-8437"_s, u"WEATHER"_s},      {u"1-877-8723342"_s, u"TRAFFIC"_s},
    {u"7737368257"_s, u"RENTALS"_s},          {u"1-469-278-4737"_s, u"CRUISES"_s},
    {u"(866) 247-5463"_s, u"AIRLINE"_s},      {u"214 2273377"_s, u"CAREERS"_s},
    {u"+1 (713) 253-2637"_s, u"CLEANER"_s},   {u"1 855 2665464"_s, u"COOKING"_s},
    {u"1 (602) 538-8377"_s, u"LETTERS"_s},    {u"619-722-5243"_s, u"PACKAGE"_s},
    {u"1-844-774-6837"_s, u"PRINTER"_s},      {u"(858) 737-2477"_s, u"REPAIRS"_s},
    {u"4087663464"_s, u"ROOFING"_s},          {u"18337246657"_s, u"SCHOOLS"_s},
    {u"1-650-737-8423"_s, u"SERVICE"_s},      {u"(503)746-7737"_s, u"SHOPPER"_s},
    {u"800-787-7678"_s, u"SUPPORT"_s},        {u"425 8322437"_s, u"TEACHER"_s},
    {u"+1 (720) 872-4637"_s, u"TRAINER"_s},   {u"+1-888-872-8357"_s, u"TRAVELS"_s},
    {u"1 (612) 935-2663"_s, u"WELCOME"_s},    {u"314-946-3697"_s, u"WINDOWS"_s},
    {u"(877) 967-5377"_s, u"WORKERS"_s},      {u"(504) 342-6663"_s, u"DIAMOND"_s},
    {u"6152765377"_s, u"BROKERS"_s},          {u"1 866 6275387"_s, u"MARKETS"_s},
    {u"1-216-227-4825"_s, u"CAPITAL"_s},      {u"(412)346-2623"_s, u"FINANCE"_s},
    {u"1-855-432-5849"_s, u"HEALTHY"_s},      {u"732 6334225"_s, u"MEDICAL"_s},
    {u"+1 (973) 687-7464"_s, u"NURSING"_s},   {u"(844) 265-5328"_s, u"COLLECT"_s},
    {u"1 (516) 335-4837"_s, u"DELIVER"_s},    {u"914-397-7377"_s, u"EXPRESS"_s},
    {u"1 (833) 633-4237"_s, u"OFFICES"_s},    {u"(585) 752-7842"_s, u"PLASTIC"_s},
    {u"(212) 628-87377"_s, u"MATTRESS"_s},    {u"800-4677-4825"_s, u"HOSPITAL"_s},
    {u"1-646-742-76229"_s, u"PHARMACY"_s},    {u"(415)667-84243"_s, u"MORTGAGE"_s},
    {u"+1-888-744-77464"_s, u"SHIPPING"_s},   {u"312 82228466"_s, u"VACATION"_s},
    {u"+1 (213) 266-82287"_s, u"CONTACTS"_s}, {u"1 877 2429253"_s, u"BICYCLE"_s},
    {u"1 (310) 226-7464"_s, u"CAMPING"_s},    {u"617-347-4464"_s, u"FISHING"_s},
    {u"(202) 269-5464"_s, u"BOWLING"_s},      {u"18663262464"_s, u"DANCING"_s},
    {u"1-305-746-4464"_s, u"SINGING"_s},      {u"(702)933-3464"_s, u"WEDDING"_s},
    {u"800-522-5387"_s, u"JACKETS"_s},        {u"206 4527737"_s, u"GLASSES"_s},
    {u"+1 (718) 568-8379"_s, u"LOTTERY"_s},   {u"+1-888-728-4647"_s, u"SAVINGS"_s},
    {u"1 (917) 226-5464"_s, u"BANKING"_s},    {u"404-468-7464"_s, u"HOUSING"_s},
    {u"(877) 476-2379"_s, u"GROCERY"_s},      {u"(512) 732-3663"_s, u"SEAFOOD"_s},
    {u"3032874377"_s, u"BURGERS"_s},          {u"1 866 22837464"_s, u"CATERING"_s},
    {u"1-347-758-62464"_s, u"PLUMBING"_s},    {u"(929)724-68464"_s, u"PAINTING"_s},
    {u"1-855-432-8464"_s, u"HEATING"_s},      {u"773 5844243"_s, u"LUGGAGE"_s},
    {u"+1 (469) 627-7243"_s, u"MASSAGE"_s},   {u"(844) 843-7279"_s, u"THERAPY"_s},
    {u"1 (214) 848-26467"_s, u"VITAMINS"_s},  {u"713-674-2642"_s, u"ORGANIC"_s},
    {u"1-833-468-7638"_s, u"GOURMET"_s},      {u"(602) 282-8466"_s, u"AUCTION"_s},
    {u"6192274246"_s, u"BARGAIN"_s},          {u"+1-800-266-2378"_s, u"CONCERT"_s},
    {u"858 5286379"_s, u"LAUNDRY"_s},
};

QStringList piecesOf(const QString &line)
{
    return line.section(u' ', 0, 0).split(u'-', Qt::SkipEmptyParts);
}

// The best line is the typed prefix kept as digits, then the word.
bool isHit(const Case &c, const QString &line)
{
    QString typed = c.typed;
    typed.removeIf([](QChar ch) {
        return engine::number::isDropped(ch) || ch == u' ';
    });
    const QStringList pieces = piecesOf(line);
    if (pieces.isEmpty() || pieces.last() != c.word)
        return false;
    return pieces.join(QString()) == typed.chopped(c.word.size()) + c.word
           && std::none_of(pieces.begin(), pieces.end() - 1, [](const QString &piece) {
                  return std::any_of(piece.begin(), piece.end(), [](QChar ch) {
                      return ch.isLetter();
                  });
              });
}

// The best line as the number was typed: the prefix's groups as digits, each
// followed by "-" (and another for a blank typed after it, which the line
// shows too), then the word.
QString typedLine(const Case &c)
{
    QString typed = c.typed;
    typed.remove(u'(').replace(u')', u'-');
    // Where the word's characters begin, counted from the end.
    qsizetype start = typed.size();
    for (qsizetype left = c.word.size(); left > 0; --start) {
        if (typed[start - 1] != u'-' && typed[start - 1] != u' ')
            --left;
    }
    // Groups apart by a "-", and a blank shows as one more.
    QString line;
    int blanks = 0;
    bool apart = false;
    for (const QChar ch : QStringView(typed).first(start)) {
        if (ch == u'-' || ch == u' ') {
            apart = true;
            blanks += ch == u' ' ? 1 : 0;
            continue;
        }
        if (apart && !line.isEmpty())
            line += QString(1 + blanks, u'-');
        apart = false;
        blanks = 0;
        line += ch;
    }
    return line + QString(1 + blanks, u'-') + c.word;
}

int longestWord(const QString &line)
{
    int longest = 0;
    for (const QString &piece : piecesOf(line)) {
        if (std::none_of(piece.begin(), piece.end(), [](QChar ch) {
                return ch.isDigit();
            }))
            longest = std::max(longest, int(piece.size()));
    }
    return longest;
}

// The three best distinct lines by keys of `key`, equal keys in found order.
QStringList bestThreeBy(const QStringList &lines,
                        const std::function<quint32(const QString &)> &key)
{
    std::vector<quint32> keys;
    for (const QString &line : lines)
        keys.push_back(key(line));
    QStringList best;
    for (const quint32 index : engine::orderBest(keys)) {
        if (!best.contains(lines.at(index)))
            best.append(lines.at(index));
        if (best.size() == 3)
            break;
    }
    return best;
}

struct Ranker
{
    const char *name;
    std::function<QStringList(const engine::WordStore &, const QString &, const QStringList &)>
        bestThree;
    int hits = 0;
    int typedGroups = 0;
    int topThree = 0;
};

// The first `count` lines of a long number's run, repeated if it has fewer.
QStringList manyLines(const engine::WordStore &words, const QString &number, qsizetype count)
{
    FakeWindow window;
    window.options = testsupport::optionsOf(u"mixed"_s);
    window.recordProgress = false;
    window.setNumbers({number});
    engine::ConversionRun run(words);
    QStringList lines;
    lines.reserve(count);
    window.onResult = [&](const QString &line) {
        if (lines.size() < count)
            lines.append(line);
    };
    window.onYield = [&] {
        if (lines.size() >= count && run.state() == engine::ConversionRun::State::Running)
            run.startOrStop(window);
    };
    run.startOrStop(window);
    for (qsizetype i = 0; !lines.isEmpty() && lines.size() < count; ++i)
        lines.append(lines.at(i));
    return lines;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QString path = QCoreApplication::applicationDirPath() + u"/dbWords.mdb"_s;
    qsizetype lineCount = 1000000;
    bool show = false;
    QStringList arguments = application.arguments().mid(1);
    while (!arguments.isEmpty()) {
        const QString argument = arguments.takeFirst();
        if (argument == u"--words" && !arguments.isEmpty()) {
            path = arguments.takeFirst();
        } else if (argument == u"--lines" && !arguments.isEmpty()) {
            lineCount = std::max(1LL, arguments.takeFirst().toLongLong());
        } else if (argument == u"--show") {
            show = true;
        } else {
            std::fprintf(stderr,
                         "usage: digitome-ranking-bench [--words FILE.mdb] [--lines N] [--show]\n");
            return 2;
        }
    }
    engine::WordStore words;
    const QString failure = testsupport::loadMdbWords(path, words);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(failure));
        return 1;
    }

    Ranker rankers[] = {
        {"ranking",
         [](const engine::WordStore &words, const QString &typed, const QStringList &lines) {
             engine::RankedLines ranked(words, typed, 3);
             for (const QString &line : lines)
                 ranked.add(line);
             return ranked.best();
         }},
        {"longest word alone",
         [](const engine::WordStore &, const QString &, const QStringList &lines) {
             return bestThreeBy(lines, [](const QString &line) {
                 return quint32(1000 - longestWord(line));
             });
         }},
        {"found order",
         [](const engine::WordStore &, const QString &, const QStringList &lines) {
             return bestThreeBy(lines, [](const QString &) {
                 return quint32(0);
             });
         }},
    };
    const core::ConversionOptions mixed = testsupport::optionsOf(u"mixed"_s);
    int cases = 0;
    for (const Case &c : Cases) {
        ++cases;
        const QStringList lines = testsupport::convertedLines(words, {c.typed}, mixed);
        for (Ranker &ranker : rankers) {
            const QStringList best = ranker.bestThree(words, c.typed, lines);
            const bool hit = !best.isEmpty() && isHit(c, best.front());
            ranker.hits += hit ? 1 : 0;
            ranker.typedGroups += !best.isEmpty() && best.front() == typedLine(c) ? 1 : 0;
            ranker.topThree += std::any_of(best.begin(), best.end(), [&](const QString &line) {
                return piecesOf(line).contains(c.word);
            });
            if (show && &ranker == &rankers[0] && !hit) {
                std::printf("miss: %s (%s), %lld lines; best: %s\n",
                            qPrintable(c.typed),
                            qPrintable(c.word),
                            qint64(lines.size()),
                            qPrintable(best.join(u' ')));
            }
        }
    }
    std::printf("%d cases, \"Words and numbers\", dictionary %s (%lld words)\n",
                cases,
                qPrintable(path),
                qint64(words.size()));
    for (const Ranker &ranker : rankers) {
        std::printf("  %-20s best line prefix + word %3d/%d (%.1f%%), of them in the typed groups "
                    "%3d/%d, word in the best three %3d/%d (%.1f%%)\n",
                    ranker.name,
                    ranker.hits,
                    cases,
                    100.0 * ranker.hits / cases,
                    ranker.typedGroups,
                    cases,
                    ranker.topThree,
                    cases,
                    100.0 * ranker.topThree / cases);
    }

    const QString number = u"212-2222-2222-2222"_s;
    const QStringList lines = manyLines(words, number, lineCount);
    const engine::LineRanking ranking(words, number);
    double bestKeys = 1e9;
    double bestOrder = 1e9;
    std::vector<quint32> order;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        std::vector<quint32> keys;
        keys.reserve(lines.size());
        for (const QString &line : lines)
            keys.push_back(ranking.key(line));
        bestKeys = std::min(bestKeys, timer.nsecsElapsed() / 1e6);
        timer.restart();
        timer.restart();
        order = engine::orderBest(keys);
        bestOrder = std::min(bestOrder, timer.nsecsElapsed() / 1e6);
    }
    std::printf("%lld lines of %s: keys %.1f ms (%.0f ns a line), ordered best first %.1f ms "
                "(best of 5); best line %s\n",
                qint64(lines.size()),
                qPrintable(number),
                bestKeys,
                bestKeys * 1e6 / double(lines.size()),
                bestOrder,
                qPrintable(order.empty() ? QString() : lines.at(order.front())));
    return 0;
}
