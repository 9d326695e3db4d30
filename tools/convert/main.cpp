// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT
// digitome-convert: the window's conversions on the command line.
//
//     digitome-convert [--words FILE] [--mode words|mixed|spell|digits]
//                      [--language CODE] [--with-original] [--order found|best]
//                      [--top N] [--format text|tsv|csv|json]
//                      [--offensive show|mark|hide] [--explain] [--rank-numbers]
//                      [--jobs N] [--] [NUMBER...]
//
// Every number (from the arguments, else one a line from standard input, read
// a line at a time) is converted by the engine's ConversionRun through a
// window of its own, so the lines are those the window lists for the same
// options. Numbers are converted on every core and written in input order.
// See digitome-convert.1 for the whole description.

#include "engine/WordStore.h"
#include "tools/convert/Dictionary.h"
#include "tools/convert/InputLines.h"
#include "tools/convert/NumberSource.h"
#include "tools/convert/Options.h"
#include "tools/convert/StandardOutput.h"
#include "tools/convert/WorkerPool.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <new>
#include <optional>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

using convert::complain;

int run(const QStringList &arguments, const QString &inputProblem)
{
    int status = 0;
    const std::optional<convert::Settings> settings = convert::parseArguments(arguments, status);
    if (!settings)
        return status;
    for (const QString &notice : settings->notices)
        complain(notice);
    const bool fromInput = settings->numbers.isEmpty();
    if (fromInput && !inputProblem.isEmpty()) {
        complain(u"cannot read standard input: "_s + inputProblem);
        return convert::Failed;
    }
    engine::WordStore words;
    if (settings->mnemonic() || !settings->wordsFile.isEmpty()) {
        const convert::DictionaryLoad load = convert::loadDictionary(settings->wordsFile, words);
        if (!load.failure.isEmpty()) {
            complain(load.failure);
            return convert::Failed;
        }
        if (words.unusableCount() > 0)
            complain(u"%1 words of the dictionary hold letters on no telephone key and are "
                     u"skipped"_s.arg(words.unusableCount()));
        for (const QString &notice : load.notices)
            complain(notice);
        if (!load.notices.isEmpty())
            status = convert::Failed;
    }

    convert::NumberSource source =
        fromInput ? convert::NumberSource(STDIN_FILENO) : convert::NumberSource(settings->numbers);
    convert::StandardOutput output;
    if (!convert::convertNumbers(*settings, words, source, output))
        status = convert::Failed;
    if (!output.flush()) {
        complain(u"cannot write standard output: "_s + output.failure());
        return convert::Failed;
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    const QString problem = convert::InputLines::problemOf(STDIN_FILENO);
    // A reader that closes the pipe early is a failed write, said and ended
    // like any other.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    QCoreApplication::setOrganizationName(u"Tarrowen"_s);
    QCoreApplication::setApplicationName(u"Digitome"_s);
    // The inputs are bounded, so this is the last guard only.
    try {
        return run(application.arguments(), problem);
    } catch (const std::bad_alloc &) {
        std::fputs("digitome-convert: out of memory\n", stderr);
        return convert::Failed;
    }
}
