#include "ConversionRun.h"

#include "ConversionHost.h"
#include "ErrorReport.h"
#include "Failure.h"
#include "MnemonicSearch.h"
#include "SaturatingCount.h"
#include "WordStore.h"
#include "modPhone.h"
#include "modWords.h"

using namespace Qt::Literals::StringLiterals;

namespace engine {

namespace {

constexpr QStringView RunSource = u"Form1.PushButton17_Click";
constexpr QStringView EnumerationSource = u"Form1.RecurseExtractWords";
constexpr QStringView IdleCaption = u"Start Converting";
const QString OriginalSeparator = u"   -   "_s;
// Positions, cut lengths and letter counts are signed 16-bit.
constexpr qsizetype LongestText = 32767;
// Result lines between two extra yields when one reading has very many cuts.
constexpr int CutsPerYield = 4096;

double progressValue(int item, int count)
{
    if (count == 0)
        throw Failure(u"Division by zero"_s);
    return double(item) / count * 100;
}

QString trimBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.sliced(first, last - first).toString();
}

} // namespace

ConversionRun::ConversionRun(const WordStore &words)
    : m_words(words)
{}

QString ConversionRun::generatingCaption(qint64 count)
{
    return u"Generating words.. please wait.. "_s + QString::number(count);
}

QString ConversionRun::normaliseNumber(const QString &text)
{
    QString number = text;
    number.remove(u'-');
    number.remove(u'(');
    number.remove(u')');
    return trimBlanks(number);
}

int ConversionRun::CountLetter(ReportSink &sink, QStringView text)
{
    ErrorReport report(sink, u"Form1.CountLetter"_s);
    return report.value(
        110,
        [&] {
            if (text.size() > LongestText)
                throw Failure(u"Overflow"_s);
            int count = 0;
            for (const QChar c : text) {
                const char16_t unit = c.unicode();
                if ((unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z'))
                    ++count;
            }
            return count;
        },
        0);
}

void ConversionRun::click(ConversionHost &host)
{
    ErrorReport report(host, RunSource.toString());
    if (!report.test(100, [&] {
            return host.runButtonCaption() == IdleCaption;
        })) {
        report.run(260, [&] {
            m_stopRequested = true;
        });
        return;
    }
    report.run(102, [&] {
        host.setRunButtonCaption(u"Stop"_s);
    });
    report.run(104, [&] {
        m_stopRequested = false;
    });
    report.run(106, [&] {
        host.clearResults();
    });
    report.run(108, [&] {
        host.setPointer(Pointer::Hourglass);
    });
    report.run(110, [&] {
        m_generatedCount = 0;
    });
    if (report.test(112, [&] {
            return host.option(1);
        }))
        convertMnemonic(host, report);
    else if (report.test(196, [&] {
                 return host.option(2);
             }))
        convertSpelledOut(host, report);
    report.run(252, [&] {
        host.setPointer(Pointer::Default);
    });
    report.run(254, [&] {
        host.setProgressValue(0);
    });
    report.run(256, [&] {
        host.setProgressText(u"Progress Bar"_s);
    });
    report.run(258, [&] {
        host.setRunButtonCaption(IdleCaption.toString());
    });
}

void ConversionRun::convertMnemonic(ConversionHost &host, ErrorReport &report)
{
    // The per-number texts outlive a failed statement: a number whose item
    // cannot be read converts the text read before.
    QString text;
    QString number;
    QStringList choices;
    QList<int> starts;
    const int count = report.value(
        114,
        [&] {
            return host.numberCount();
        },
        0);
    for (int item = 1; item <= count; ++item) {
        report.run(116, [&] {
            text = host.numberText(item);
        });
        report.run(118, [&] {
            host.setProgressValue(progressValue(item, host.numberCount()));
        });
        report.run(120, [&] {
            host.yield();
        });
        report.run(122, [&] {
            host.setPointer(Pointer::Hourglass);
        });
        report.run(124, [&] {
            number = normaliseNumber(text);
        });
        report.run(126, [&] {
            choices = QStringList();
        });
        report.run(128, [&] {
            starts = QList<int>();
        });
        report.run(130, [&] {
            m_combinations = QStringList();
        });
        for (qsizetype position = 0; position < number.size(); ++position) {
            report.run(134, [&] {
                choices.append(modPhone::KeypadLetters(QString(number.at(position))));
            });
            report.run(138, [&] {
                starts.append(1);
            });
        }
        if (report.test(144, [&] {
                return choices.size() >= 2;
            })) {
            if (choices.size() > LongestText) {
                // Signed 16-bit positions overflow on such a number; one
                // report, and the number is skipped.
                ErrorReport(host, EnumerationSource.toString()).report(108, u"Overflow"_s);
            } else if (m_searchMode == SearchMode::Reference) {
                searchReference(host, report, item, choices, starts);
            } else {
                searchFast(host, report, item, choices);
            }
        }
        if (report.test(192, [&] {
                return m_stopRequested;
            }))
            break;
    }
}

void ConversionRun::searchReference(ConversionHost &host,
                                    ErrorReport &report,
                                    int item,
                                    const QStringList &choices,
                                    const QList<int> &starts)
{
    report.run(146, [&] {
        m_currentCombination.clear();
    });
    report.run(148, [&] {
        host.yield();
    });
    report.run(150, [&] {
        RecurseExtractWords(host, choices, starts, 0);
    });
    QStringList entries;
    QString joined;
    QString line;
    const qsizetype combinationCount = m_combinations.size();
    for (qsizetype k = 0; k < combinationCount; ++k) {
        report.run(154, [&] {
            host.yield();
        });
        report.run(156, [&] {
            entries = QStringList();
        });
        report.run(158, [&] {
            if (k >= m_combinations.size())
                throw Failure(u"Subscript out of range"_s);
            modWords::SplitIntoWords(m_words, m_combinations.at(k), QString(), entries);
        });
        report.run(160, [&] {
            host.yield();
        });
        for (const QString &entry : std::as_const(entries)) {
            if (report.test(164, [&] {
                    joined = entry;
                    joined.remove(u' ');
                    return !modPhone::IsNumericText(joined);
                })) {
                if (report.test(166, [&] {
                        return CountLetter(host, joined) >= 5;
                    })) {
                    report.run(168, [&] {
                        line = trimBlanks(entry).replace(u' ', u'-');
                    });
                    LineRules rules = readLineRules(host, report, modPhone::ContainsDigit(line));
                    if (rules.keep)
                        appendLine(host, report, line, rules, item);
                }
            }
            if (report.test(182, [&] {
                    return m_stopRequested;
                }))
                break;
        }
        report.run(186, [&] {
            entries = QStringList();
        });
        if (report.test(188, [&] {
                return m_stopRequested;
            }))
            break;
    }
}

void ConversionRun::searchFast(ConversionHost &host,
                               ErrorReport &report,
                               int item,
                               const QStringList &choices)
{
    report.run(146, [&] {
        m_currentCombination.clear();
    });
    report.run(148, [&] {
        host.yield();
    });
    // The pruning reads Option3 and Option4 once per number: a change made
    // during the number's run affects the lines of the readings still to
    // come (statement 170 reads the options again after every yield) but not
    // which readings are skipped.
    MnemonicSearch search(m_words);
    report.run(150, [&] {
        search.start(choices, host.option(3), host.option(4));
    });
    const auto pulse = [&] {
        showCount(host);
        host.yield();
        return !m_stopRequested;
    };
    while (report.value(
        150,
        [&] {
            return search.next(m_generatedCount, pulse);
        },
        false)) {
        // One yield per reading: statements 154 and 160 both yield, around
        // a cut that the window cannot see.
        report.run(158, [&] {
            search.prepareCuts();
        });
        report.run(160, [&] {
            showCount(host);
            host.yield();
        });
        // Every cut of a reading that gets here passes the numeric and the
        // letter tests (164, 166): they depend on the reading alone. The
        // window changes only while the run yields, so the include options
        // and Check1 are read after every yield instead of for every line.
        LineRules rules = readLineRules(host, report, search.combinationHasDigit());
        int sinceYield = 0;
        while (search.nextCut()) {
            if (rules.keep)
                appendLine(host, report, search.line(), rules, item);
            if (report.test(182, [&] {
                    return m_stopRequested;
                }))
                break;
            if (++sinceYield == CutsPerYield) {
                sinceYield = 0;
                report.run(160, [&] {
                    showCount(host);
                    host.yield();
                });
                rules = readLineRules(host, report, search.combinationHasDigit());
            }
        }
        if (report.test(188, [&] {
                return m_stopRequested;
            }))
            break;
    }
    report.run(150, [&] {
        showCount(host);
    });
}

ConversionRun::LineRules
ConversionRun::readLineRules(ConversionHost &host, ErrorReport &report, bool lineHasDigit)
{
    LineRules rules;
    rules.keep = report.test(170, [&] {
        return host.option(3) || (host.option(4) && !lineHasDigit);
    });
    rules.withOriginal = rules.keep && report.test(172, [&] {
        return host.check1Value() == 1;
    });
    return rules;
}

void ConversionRun::appendLine(
    ConversionHost &host, ErrorReport &report, QString &line, LineRules &rules, int item)
{
    if (rules.withOriginal) {
        report.run(174, [&] {
            if (rules.original.isNull())
                rules.original = OriginalSeparator + host.numberText(item);
            line += rules.original;
        });
    }
    report.run(176, [&] {
        host.appendResult(line);
    });
}

void ConversionRun::showCount(ConversionHost &host)
{
    host.showGeneratedCount(m_generatedCount);
}

void ConversionRun::RecurseExtractWords(ConversionHost &host,
                                        const QStringList &choices,
                                        const QList<int> &starts,
                                        int position)
{
    ErrorReport report(host, EnumerationSource.toString());
    if (report.test(100, [&] {
            return position <= starts.size() - 1;
        })) {
        const QString &letters = choices.at(position);
        for (qsizetype i = starts.at(position); i <= letters.size(); ++i) {
            report.run(102, [&] {
                m_generatedCount = saturatingAdd(m_generatedCount, 1);
                host.showGeneratedCount(m_generatedCount);
                host.yield();
            });
            report.run(106, [&] {
                m_currentCombination += letters.at(i - 1);
            });
            report.run(108, [&] {
                RecurseExtractWords(host, choices, starts, position + 1);
            });
        }
        if (report.test(112, [&] {
                return position > 0;
            }))
            report.run(114, [&] {
                m_currentCombination.truncate(position - 1);
            });
    } else {
        report.run(118, [&] {
            m_combinations.append(m_currentCombination);
        });
        report.run(120, [&] {
            m_currentCombination.truncate(position - 1);
        });
    }
}

void ConversionRun::convertSpelledOut(ConversionHost &host, ErrorReport &report)
{
    // The digit words (198 to 216) are the constant table of modPhone.
    QString number;
    QString line;
    const int count = report.value(
        218,
        [&] {
            return host.numberCount();
        },
        0);
    for (int item = 1; item <= count; ++item) {
        report.run(220, [&] {
            host.setProgressValue(progressValue(item, host.numberCount()));
        });
        report.run(222, [&] {
            host.yield();
        });
        report.run(224, [&] {
            number = normaliseNumber(host.numberText(item));
        });
        report.run(226, [&] {
            line.clear();
        });
        for (qsizetype position = 0; position < number.size(); ++position) {
            const QString character(number.at(position));
            if (report.test(230, [&] {
                    return modPhone::IsNumericText(character);
                })) {
                report.run(232, [&] {
                    line += modPhone::DigitWords(character.front().unicode() - u'0') + u' ';
                });
            } else {
                report.run(234, [&] {
                    line += character + u' ';
                });
            }
        }
        if (report.test(238, [&] {
                return host.check1Value() == 1;
            }))
            report.run(240, [&] {
                line += OriginalSeparator + host.numberText(item);
            });
        report.run(242, [&] {
            host.appendResult(trimBlanks(line));
        });
        if (report.test(248, [&] {
                return m_stopRequested;
            }))
            break;
    }
}

} // namespace engine
