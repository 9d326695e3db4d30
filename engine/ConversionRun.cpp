// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "engine/ConversionRun.h"

#include "core/ErrorReport.h"
#include "core/Failure.h"
#include "core/ItemListModel.h"
#include "core/RunHost.h"
#include "core/TextRules.h"
#include "engine/DictionaryKeypad.h"
#include "engine/DigitNames.h"
#include "engine/Keypad.h"
#include "engine/MnemonicSearch.h"
#include "engine/NumberText.h"
#include "engine/RunSteps.h"
#include "engine/SaturatingCount.h"
#include "engine/SpelledLine.h"
#include "engine/WordCuts.h"
#include "engine/WordStore.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

namespace {

using core::ConversionOptions;
using core::ErrorReport;
using core::Pointer;
using core::Procedure;
using core::RunHost;

const QString OriginalSeparator = u"   -   "_s;
// Positions, cut lengths and letter counts are signed 16-bit.
constexpr qsizetype LongestText = 32767;
// Result lines between two extra yields when one reading has very many cuts.
constexpr int CutsPerYield = 4096;
// Characters spelled out between two yields of a long number.
constexpr qsizetype CharactersPerYield = 65536;

double progressValue(int item, int count)
{
    if (count == 0)
        throw core::Failure(u"Division by zero"_s);
    return double(item) / count * 100;
}

int numberCount(RunHost &host)
{
    return host.numberList().rows();
}

// Items are numbered from 1; an item that has gone fails.
QString numberText(RunHost &host, int item)
{
    return host.numberList().text(item - 1);
}

} // namespace

ConversionRun::ConversionRun(const WordStore &words)
    : m_words(words)
{}

ConversionRun::State ConversionRun::state() const
{
    if (!m_running)
        return State::Idle;
    return m_stopRequested ? State::Stopping : State::Running;
}

QString ConversionRun::normaliseNumber(const QString &text)
{
    return number::normalised(text);
}

int ConversionRun::countLetters(core::ReportSink &sink, QStringView text)
{
    ErrorReport report(sink, Procedure::LetterCount);
    return report.value(
        LetterCountStep::CountLetters,
        [&] {
            if (text.size() > LongestText)
                throw core::Failure(u"Overflow"_s);
            int count = 0;
            for (const QChar c : text)
                count += keypad::isLetter(c.unicode()) ? 1 : 0;
            return count;
        },
        0);
}

void ConversionRun::startOrStop(RunHost &host)
{
    ErrorReport report(host, Procedure::ConversionRun);
    if (report.test(RunStep::CheckIdle, [&] {
            return !m_running;
        }))
        run(host, report);
    else
        report.run(RunStep::RequestStop, [&] {
            m_stopRequested = true;
        });
}

void ConversionRun::run(RunHost &host, ErrorReport &report)
{
    report.run(RunStep::ShowRunning, [&] {
        m_running = true;
        host.showRunning(true);
    });
    report.run(RunStep::ClearStopRequest, [&] {
        m_stopRequested = false;
    });
    report.run(RunStep::ClearResults, [&] {
        host.resultsList().clear();
    });
    report.run(RunStep::ShowHourglass, [&] {
        host.setPointer(Pointer::Hourglass);
    });
    report.run(RunStep::ResetGeneratedCount, [&] {
        m_generatedCount = 0;
    });
    using Conversion = ConversionOptions::Conversion;
    if (report.test(RunStep::CheckMnemonic, [&] {
            return host.conversionOptions().conversion == Conversion::Mnemonic;
        }))
        convertMnemonic(host, report);
    else if (report.test(RunStep::CheckSpelledOut, [&] {
                 return host.conversionOptions().conversion == Conversion::SpelledOut;
             }))
        convertSpelledOut(host, report);
    report.run(RunStep::ShowDefaultPointer, [&] {
        host.setPointer(Pointer::Default);
    });
    report.run(RunStep::ResetProgressValue, [&] {
        host.setProgressValue(0);
    });
    report.run(RunStep::ResetProgressText, [&] {
        host.setProgressText(u"Progress Bar"_s);
    });
    report.run(RunStep::ShowIdle, [&] {
        m_running = false;
        host.showRunning(false);
    });
}

void ConversionRun::convertMnemonic(RunHost &host, ErrorReport &report)
{
    // The letters on each key are those of the dictionary as it is now.
    const DictionaryKeypad keypad(m_words);
    NumberTexts texts;
    const int count = report.value(
        RunStep::ReadNumberCount,
        [&] {
            return numberCount(host);
        },
        0);
    for (int item = 1; item <= count; ++item) {
        convertNumber(host, report, keypad, item, texts);
        if (report.test(RunStep::CheckStopAfterNumber, [&] {
                return m_stopRequested;
            }))
            break;
    }
}

void ConversionRun::convertNumber(RunHost &host,
                                  ErrorReport &report,
                                  const DictionaryKeypad &keypad,
                                  int item,
                                  NumberTexts &texts)
{
    report.run(RunStep::ReadNumber, [&] {
        texts.text = numberText(host, item);
        host.startNumber(texts.text);
    });
    report.run(RunStep::ShowNumberProgress, [&] {
        host.setProgressValue(progressValue(item, numberCount(host)));
    });
    report.run(RunStep::YieldBeforeNumber, [&] {
        host.yield();
    });
    report.run(RunStep::ShowHourglassAgain, [&] {
        host.setPointer(Pointer::Hourglass);
    });
    // Signed 16-bit positions overflow on a longer number: its length is
    // checked before any work per character, one report, and it is skipped.
    if (number::normalisedLength(texts.text) > LongestText) {
        ErrorReport(host, Procedure::ReadingEnumeration)
            .report(EnumerationStep::NumberTooLong, u"Overflow"_s);
        return;
    }
    report.run(RunStep::NormaliseNumber, [&] {
        texts.number = normaliseNumber(texts.text);
    });
    report.run(RunStep::ClearChoices, [&] {
        texts.choices = QStringList();
    });
    report.run(RunStep::ClearStarts, [&] {
        texts.starts = QList<int>();
    });
    report.run(RunStep::ClearReadings, [&] {
        m_readings = QStringList();
    });
    for (qsizetype position = 0; position < texts.number.size(); ++position) {
        report.run(RunStep::AppendChoices, [&] {
            texts.choices.append(keypad.choicesOf(texts.number.at(position)));
        });
        report.run(RunStep::AppendStart, [&] {
            texts.starts.append(1);
        });
    }
    if (!report.test(RunStep::CheckTwoPositions, [&] {
            return texts.choices.size() >= 2;
        }))
        return;
    if (m_searchMode == SearchMode::Reference) {
        searchReference(host, report, item, texts.choices, texts.starts);
    } else {
        searchFast(host, report, item, texts.choices);
    }
}

void ConversionRun::searchReference(RunHost &host,
                                    ErrorReport &report,
                                    int item,
                                    const QStringList &choices,
                                    const QList<int> &starts)
{
    report.run(RunStep::ClearCurrentReading, [&] {
        m_currentReading.clear();
    });
    report.run(RunStep::YieldBeforeReadings, [&] {
        host.yield();
    });
    report.run(RunStep::EnumerateReadings, [&] {
        enumerateReadings(host, choices, starts, 0);
    });
    const qsizetype readingCount = m_readings.size();
    for (qsizetype k = 0; k < readingCount; ++k) {
        cutReading(host, report, item, k);
        if (report.test(RunStep::CheckStopAfterReading, [&] {
                return m_stopRequested;
            }))
            break;
    }
}

void ConversionRun::cutReading(RunHost &host, ErrorReport &report, int item, qsizetype reading)
{
    QStringList cuts;
    QString joined;
    QString line;
    report.run(RunStep::YieldBeforeCut, [&] {
        host.yield();
    });
    report.run(RunStep::ClearCuts, [&] {
        cuts = QStringList();
    });
    report.run(RunStep::CutReading, [&] {
        if (reading >= m_readings.size())
            throw core::Failure(u"Subscript out of range"_s);
        wordcuts::cutIntoWords(m_words, m_readings.at(reading), QString(), cuts);
    });
    report.run(RunStep::YieldAfterCut, [&] {
        host.yield();
    });
    for (const QString &cut : std::as_const(cuts)) {
        if (report.test(RunStep::CheckNotNumeric, [&] {
                joined = cut;
                joined.remove(u' ');
                return !keypad::isNumericText(joined);
            })) {
            if (report.test(RunStep::CheckFiveLetters, [&] {
                    return countLetters(host, joined) >= 5;
                })) {
                report.run(RunStep::MakeLine, [&] {
                    line = core::text::trimBlanks(cut).toString().replace(u' ', u'-');
                });
                LineRules rules = readLineRules(host, report, keypad::containsDigit(line));
                if (rules.keep)
                    appendLine(host, report, line, rules, item);
            }
        }
        if (report.test(RunStep::CheckStopAfterCut, [&] {
                return m_stopRequested;
            }))
            break;
    }
    report.run(RunStep::DropCuts, [&] {
        cuts = QStringList();
    });
}

void ConversionRun::searchFast(RunHost &host,
                               ErrorReport &report,
                               int item,
                               const QStringList &choices)
{
    report.run(RunStep::ClearCurrentReading, [&] {
        m_currentReading.clear();
    });
    report.run(RunStep::YieldBeforeReadings, [&] {
        host.yield();
    });
    // The pruning reads the line options once per number: a change made during
    // the number's run affects the lines of the readings still to come (the
    // rules are read again after every yield) but not which readings are
    // skipped.
    MnemonicSearch search(m_words);
    report.run(RunStep::StartSearch, [&] {
        const ConversionOptions options = host.conversionOptions();
        search.start(choices, options.keepMixedLines, options.keepWordsOnlyLines);
    });
    const auto pulse = [&] {
        showCountAndYield(host);
        return !m_stopRequested;
    };
    while (report.value(
        RunStep::NextReading,
        [&] {
            return search.next(m_generatedCount, pulse);
        },
        false)) {
        // One yield per reading: the steps before and after the cut both
        // yield, around a cut that the window cannot see.
        report.run(RunStep::CutReading, [&] {
            search.prepareCuts();
        });
        report.run(RunStep::YieldAfterCut, [&] {
            showCountAndYield(host);
        });
        appendCuts(host, report, search, item);
        if (report.test(RunStep::CheckStopAfterReading, [&] {
                return m_stopRequested;
            }))
            break;
    }
    report.run(RunStep::ShowFinalCount, [&] {
        host.showGeneratedCount(m_generatedCount);
    });
}

void ConversionRun::appendCuts(RunHost &host, ErrorReport &report, MnemonicSearch &search, int item)
{
    // Every cut of a reading that gets here passes the numeric and the letter
    // tests: they depend on the reading alone. The window changes only while
    // the run yields, so the line rules are read after every yield instead of
    // for every line.
    LineRules rules = readLineRules(host, report, search.combinationHasDigit());
    int sinceYield = 0;
    while (search.nextCut()) {
        if (rules.keep)
            appendLine(host, report, search.line(), rules, item);
        if (report.test(RunStep::CheckStopAfterCut, [&] {
                return m_stopRequested;
            }))
            break;
        if (++sinceYield == CutsPerYield) {
            sinceYield = 0;
            report.run(RunStep::YieldAfterCut, [&] {
                showCountAndYield(host);
            });
            rules = readLineRules(host, report, search.combinationHasDigit());
        }
    }
}

ConversionRun::LineRules
ConversionRun::readLineRules(RunHost &host, ErrorReport &report, bool lineHasDigit)
{
    LineRules rules;
    rules.keep = report.test(RunStep::CheckLineKept, [&] {
        const ConversionOptions options = host.conversionOptions();
        return options.keepMixedLines || (options.keepWordsOnlyLines && !lineHasDigit);
    });
    rules.withOriginal = rules.keep && report.test(RunStep::CheckAppendOriginal, [&] {
        return host.conversionOptions().appendOriginalNumber;
    });
    return rules;
}

void ConversionRun::appendLine(
    RunHost &host, ErrorReport &report, QString &line, LineRules &rules, int item)
{
    if (rules.withOriginal) {
        report.run(RunStep::AppendOriginal, [&] {
            if (rules.original.isNull())
                rules.original = OriginalSeparator + numberText(host, item);
            line += rules.original;
        });
    }
    report.run(RunStep::AppendLine, [&] {
        host.appendResult(line);
    });
}

void ConversionRun::showCountAndYield(RunHost &host)
{
    host.showGeneratedCount(m_generatedCount);
    host.yield();
}

void ConversionRun::enumerateReadings(RunHost &host,
                                      const QStringList &choices,
                                      const QList<int> &starts,
                                      int position)
{
    ErrorReport report(host, Procedure::ReadingEnumeration);
    if (report.test(EnumerationStep::CheckPosition, [&] {
            return position <= starts.size() - 1;
        })) {
        const QString &letters = choices.at(position);
        for (qsizetype i = starts.at(position); i <= letters.size(); ++i) {
            report.run(EnumerationStep::CountStep, [&] {
                m_generatedCount = saturatingAdd(m_generatedCount, 1);
                showCountAndYield(host);
            });
            report.run(EnumerationStep::AppendChoice, [&] {
                m_currentReading += letters.at(i - 1);
            });
            report.run(EnumerationStep::DescendPosition, [&] {
                enumerateReadings(host, choices, starts, position + 1);
            });
        }
        if (report.test(EnumerationStep::CheckNotFirst, [&] {
                return position > 0;
            }))
            report.run(EnumerationStep::DropChoice, [&] {
                m_currentReading.truncate(position - 1);
            });
    } else {
        report.run(EnumerationStep::StoreReading, [&] {
            m_readings.append(m_currentReading);
        });
        report.run(EnumerationStep::DropLastChoice, [&] {
            m_currentReading.truncate(position - 1);
        });
    }
}

void ConversionRun::convertSpelledOut(RunHost &host, ErrorReport &report)
{
    // The digit names are fixed when the conversion starts.
    m_spellLanguage = &spellLanguageOrEnglish(host.conversionOptions().spellLanguage);
    // The text of the number being converted; it outlives a failed read, so
    // a number whose item cannot be read converts the text read before.
    QString text;
    const int count = report.value(
        RunStep::ReadSpelledCount,
        [&] {
            return numberCount(host);
        },
        0);
    for (int item = 1; item <= count; ++item) {
        report.run(RunStep::ShowSpelledProgress, [&] {
            host.setProgressValue(progressValue(item, numberCount(host)));
        });
        report.run(RunStep::YieldBeforeSpelled, [&] {
            host.yield();
        });
        report.run(RunStep::ReadSpelledNumber, [&] {
            text = numberText(host, item);
            host.startNumber(text);
        });
        // The original text is read before the line is written, as its size
        // belongs to the line's; nothing happens between in the host.
        bool withOriginal = false;
        QByteArray original;
        if (report.test(RunStep::CheckSpelledOriginal, [&] {
                return host.conversionOptions().appendOriginalNumber;
            }))
            withOriginal = report.run(RunStep::AppendSpelledOriginal, [&] {
                original = host.numberList().textUtf8(item - 1);
            });
        SpelledLine line(*m_spellLanguage, text, withOriginal, original);
        original = QByteArray();
        // A long number yields as it goes; a Stop meanwhile drops its line.
        if (!spellOut(host, report, line))
            break;
        if (report.test(RunStep::CheckStopAfterSpelled, [&] {
                return m_stopRequested;
            }))
            break;
    }
}

bool ConversionRun::spellOut(RunHost &host, ErrorReport &report, SpelledLine &line)
{
    // Written into the results list in pieces where the window can, else
    // built whole first.
    bool inPieces = false;
    QByteArray whole;
    report.run(RunStep::ClearSpelledLine, [&] {
        inPieces = host.beginResult(line.size());
        if (!inPieces)
            whole.reserve(line.size());
    });
    const std::function<void(QByteArrayView)> write = [&](QByteArrayView piece) {
        if (inPieces)
            host.writeResult(piece);
        else
            whole.append(piece);
    };
    while (line.writeSome(CharactersPerYield, write)) {
        report.run(RunStep::YieldBeforeSpelled, [&] {
            host.yield();
        });
        if (report.test(RunStep::CheckStopAfterSpelled, [&] {
                return m_stopRequested;
            })) {
            if (inPieces)
                host.endResult(false);
            return false;
        }
    }
    report.run(RunStep::AppendSpelledLine, [&] {
        if (inPieces)
            host.endResult(true);
        else
            host.appendResult(QString::fromUtf8(whole));
    });
    return true;
}

} // namespace engine
