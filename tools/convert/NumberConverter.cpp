// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/NumberConverter.h"

#include "engine/DialledNumber.h"
#include "engine/LineWords.h"
#include "tools/convert/LineScore.h"
#include "tools/convert/Options.h"

#include <ctime>

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// The readings of a number grow by a factor of four or five a character, so
// the mnemonic run of a long number could take years. Limits, each reported
// on standard error:
// - a number longer than this (after "-", "(", ")" and the outer blanks are
//   dropped; telephone numbers have at most 15 digits) is left out;
constexpr qsizetype LongestMnemonicNumber = 40;
// - the mnemonic run of one number stops after this many milliseconds of its
//   worker's processor time (checked at every yield of the search: at least
//   one per 1,024 steps; processor time, so that a busy machine or more
//   workers than cores do not change the lines), or
constexpr qint64 MostMillisecondsPerNumber = 5000;
// - after this many lines (of them, --order best without --top holds the
//   fewer, about 100 bytes each).
constexpr qint64 MostLinesPerNumber = 10'000'000;
constexpr qint64 MostHeldLinesPerNumber = 2'000'000;

// Output is handed on in pieces of about this size.
constexpr qsizetype OutputPiece = qsizetype(1) << 16;

// A number as messages show it: long ones shortened.
QString shown(const QString &number)
{
    return number.size() <= 40 ? number
                               : number.left(30) + u"... (%1 characters)"_s.arg(number.size());
}

// The processor time of the calling thread.
qint64 threadMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000;
}

core::ConversionOptions runOptions(const Settings &settings)
{
    core::ConversionOptions options = settings.options;
    // The formats other than text have the number in a field of its own.
    if (settings.format != OutputFormat::Text)
        options.appendOriginalNumber = false;
    return options;
}

} // namespace

NumberConverter::NumberConverter(const Settings &settings,
                                 const engine::WordStore &words,
                                 const ResultWriter &writer,
                                 OrderedResults &results)
    : m_settings(settings)
    , m_words(words)
    , m_writer(writer)
    , m_results(results)
    , m_run(words)
    , m_host(runOptions(settings))
    , m_keypad(words)
    , m_search(words)
{
    m_host.onResult = [this](const QString &line) {
        take(line);
    };
    m_host.onYield = [this] {
        if (m_results.stopped())
            stop(false);
        else if (m_settings.mnemonic() && overTime())
            stop(true);
    };
}

void NumberConverter::convert(const QString &number, qint64 sequence)
{
    m_number = number;
    m_sequence = sequence;
    m_output.clear();
    if (m_writer.needsFields() || m_settings.rankNumbers)
        m_scoring.emplace(m_words, m_number);
    NumberEnd end;
    if (m_settings.dialledDigits)
        convertDigits(end);
    else
        runConversion(end);
    if (m_settings.rankNumbers && m_ranked) {
        const QStringList best = m_ranked->best();
        if (!best.isEmpty())
            emit(best.front());
    }
    flushOutput();
    end.best = std::move(m_best);
    m_best.reset();
    m_ranked.reset();
    m_scoring.reset();
    m_results.finish(sequence, std::move(end));
}

void NumberConverter::convertDigits(NumberEnd &end)
{
    const engine::DialledNumber dialled = engine::dialledNumber(m_number);
    if (!dialled.lettersOnNoKey.isEmpty())
        end.messages.append(u"%1: letters on no telephone key are kept as typed: %2"_s.arg(
            shown(m_number), dialled.lettersOnNoKey));
    if (!dialled.undialledLetters.isEmpty())
        end.messages.append(
            u"%1: longer than a North American number (%2 digits%3): %4 not dialled"_s
                .arg(shown(m_number))
                .arg(dialled.planLength)
                .arg(dialled.planLength == 11 ? u" with the leading 1"_s : QString())
                .arg(dialled.undialledLetters.size() == 1
                         ? u"the last letter %1 is"_s.arg(dialled.undialledLetters)
                         : u"the last letters %1 are"_s.arg(dialled.undialledLetters)));
    QString line = dialled.digits;
    if (m_settings.options.appendOriginalNumber && m_settings.format == OutputFormat::Text)
        line += u"   -   "_s + m_number;
    emit(line);
}

void NumberConverter::runConversion(NumberEnd &end)
{
    const bool mnemonic = m_settings.mnemonic();
    if (mnemonic
        && engine::ConversionRun::normaliseNumber(m_number).size() > LongestMnemonicNumber) {
        end.messages.append(u"%1: too long for mnemonic words (more than %2 characters); left out"_s
                                .arg(shown(m_number))
                                .arg(LongestMnemonicNumber));
        end.ok = false;
        return;
    }
    if (mnemonic && convertBest(end))
        return;
    m_host.setNumber(m_number);
    m_stopping = false;
    m_limitReached = false;
    m_count = 0;
    m_shown = 0;
    const bool ranked = mnemonic && (m_settings.bestFirst || m_settings.rankNumbers);
    if (ranked)
        m_ranked = std::make_unique<engine::RankedLines>(
            m_words, m_number, m_settings.rankNumbers ? 1 : m_settings.top);
    m_mostLines = ranked && m_settings.top < 0 && !m_settings.rankNumbers ? MostHeldLinesPerNumber
                                                                          : MostLinesPerNumber;
    m_clock.start();
    m_started = threadMilliseconds();
    m_run.startOrStop(m_host);
    if (m_ranked && !m_settings.rankNumbers) {
        for (const QString &line : m_ranked->best())
            emit(line);
    }
    for (const QString &report : m_host.reports())
        end.messages.append(u"%1: %2"_s.arg(shown(m_number), report));
    if (m_limitReached) {
        end.messages.append(u"%1: stopped after %2 lines, the number has too many readings; "
                            u"the lines are incomplete"_s.arg(shown(m_number))
                                .arg(m_count));
    }
    end.ok = m_host.reports().isEmpty() && !m_limitReached;
}

bool NumberConverter::convertBest(NumberEnd &end)
{
    // The search knows the ranking but not the lines --offensive hide drops,
    // which could leave fewer than the lines asked for.
    const qsizetype limit = m_settings.rankNumbers ? 1 : m_settings.top;
    if ((!m_settings.bestFirst && !m_settings.rankNumbers) || limit < 1
        || limit > engine::BestLineSearch::MaxLimit || m_settings.offensive == OffensiveLines::Hide)
        return false;
    const core::ConversionOptions options = m_host.conversionOptions();
    m_clock.start();
    m_started = threadMilliseconds();
    const auto outcome = m_search.find(
        m_keypad, m_number, options.keepMixedLines, options.keepWordsOnlyLines, limit, [this] {
            return !m_results.stopped() && !overTime();
        });
    if (outcome == engine::BestLineSearch::Outcome::Declined)
        return false;
    const QString original = options.appendOriginalNumber ? u"   -   "_s + m_number : QString();
    for (const QString &line : m_search.lines())
        emit(line + original);
    end.ok = outcome == engine::BestLineSearch::Outcome::Done || m_results.stopped();
    if (!end.ok) {
        end.messages.append(u"%1: stopped after %2 seconds, the number has too many readings; "
                            u"better lines may be missing"_s.arg(shown(m_number))
                                .arg(MostMillisecondsPerNumber / 1000));
    }
    return true;
}

void NumberConverter::take(const QString &line)
{
    if (m_stopping)
        return;
    ++m_count;
    const bool hidden = m_settings.offensive == OffensiveLines::Hide && m_settings.mnemonic()
                        && engine::offensiveRatingOf(m_words, line) > 0;
    if (!hidden) {
        ++m_shown;
        if (m_ranked)
            m_ranked->add(line);
        else
            emit(line);
    }
    if (!m_ranked && m_shown == m_settings.top)
        stop(false);
    else if (m_results.stopped())
        stop(false);
    else if (m_count == m_mostLines)
        stop(true);
}

bool NumberConverter::overTime() const
{
    // The thread's processor time is a system call; it cannot exceed the
    // time gone by, which is cheap to read.
    return m_clock.elapsed() > MostMillisecondsPerNumber
           && threadMilliseconds() - m_started > MostMillisecondsPerNumber;
}

ResultRecord NumberConverter::recordOf(const QString &line) const
{
    ResultRecord record;
    record.line = line;
    if (!m_scoring && m_settings.offensive != OffensiveLines::Mark)
        return record;
    record.number = m_number;
    const bool mnemonic = m_settings.mnemonic();
    if (mnemonic) {
        record.words = engine::wordsOfLine(line);
        record.offensive = engine::offensiveRatingOf(m_words, line);
    } else if (!m_settings.dialledDigits) {
        record.words = line.split(u' ', Qt::SkipEmptyParts);
    }
    if (mnemonic && m_scoring) {
        record.score = scoreOf(*m_scoring, line);
        if (m_settings.explain)
            record.parts = explainScore(*m_scoring, line);
    } else if (m_settings.explain) {
        // Spelled-out digits and dialled digits are not ranked.
        for (const QString &name : scorePartNames())
            record.parts.append(ScorePart{name, 0});
    }
    return record;
}

void NumberConverter::emit(const QString &line)
{
    const ResultRecord record = recordOf(line);
    if (m_settings.rankNumbers) {
        // The number's line, written with the others once they are ranked.
        if (!m_best) {
            m_best.emplace();
            m_best->score = record.score;
            m_writer.append(record, m_best->text);
        }
        return;
    }
    m_writer.append(record, m_output);
    if (m_output.size() >= OutputPiece)
        flushOutput();
}

void NumberConverter::flushOutput()
{
    if (!m_output.isEmpty() && !m_results.write(m_sequence, m_output))
        stop(false);
}

void NumberConverter::stop(bool limitReached)
{
    if (m_stopping)
        return;
    m_stopping = true;
    m_limitReached = limitReached;
    if (m_run.state() == engine::ConversionRun::State::Running)
        m_run.startOrStop(m_host);
}

} // namespace convert
