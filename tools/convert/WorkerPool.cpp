// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#include "tools/convert/WorkerPool.h"

#include "tools/convert/NumberConverter.h"
#include "tools/convert/NumberRanking.h"
#include "tools/convert/NumberSource.h"
#include "tools/convert/Options.h"
#include "tools/convert/OrderedResults.h"
#include "tools/convert/ResultWriter.h"
#include "tools/convert/StandardOutput.h"

#include <atomic>
#include <new>
#include <thread>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace convert {

namespace {

// The reorder buffer's bounds: numbers beyond the one being written, and
// bytes of their output.
constexpr qint64 MostNumbersAhead = 1024;
constexpr qsizetype MostBytesAhead = qsizetype(32) << 20;

void work(const Settings &settings,
          const engine::WordStore &words,
          const ResultWriter &writer,
          NumberSource &source,
          OrderedResults &results)
{
    NumberConverter converter(settings, words, writer, results);
    for (;;) {
        const NumberSource::Item item = source.next();
        if (item.kind == NumberSource::Item::Kind::End) {
            results.endOfNumbers(item.sequence);
            return;
        }
        if (!results.waitForTurn(item.sequence))
            return;
        if (item.kind == NumberSource::Item::Kind::Problem)
            results.finish(item.sequence, NumberEnd{{item.text}, false, {}});
        else
            converter.convert(item.text, item.sequence);
    }
}

} // namespace

bool convertNumbers(const Settings &settings,
                    const engine::WordStore &words,
                    NumberSource &source,
                    StandardOutput &output)
{
    const ResultWriter writer(
        settings.format, settings.offensive == OffensiveLines::Mark, settings.explain);
    output.write(writer.header());
    OrderedResults results(MostNumbersAhead, MostBytesAhead);
    std::atomic<bool> outOfMemory = false;
    std::vector<std::thread> workers;
    workers.reserve(std::size_t(settings.jobs));
    for (int job = 0; job < settings.jobs; ++job) {
        workers.emplace_back([&] {
            try {
                work(settings, words, writer, source, results);
            } catch (const std::bad_alloc &) {
                outOfMemory = true;
                results.stop();
                source.interrupt();
            }
        });
    }

    bool converted = true;
    NumberRanking ranking(settings.top);
    for (;;) {
        OrderedResults::Taken taken = results.take([&] {
            output.flush();
        });
        if (taken.done)
            break;
        output.write(taken.bytes);
        if (taken.end) {
            for (const QString &message : std::as_const(taken.end->messages))
                complain(message);
            converted = converted && taken.end->ok;
            if (taken.end->best)
                ranking.add(taken.sequence, std::move(*taken.end->best));
        }
        if (output.failed()) {
            results.stop();
            source.interrupt();
        }
    }
    for (std::thread &worker : workers)
        worker.join();
    if (outOfMemory)
        throw std::bad_alloc();
    for (const BestLine &line : ranking.best())
        output.write(line.text);
    return converted;
}

} // namespace convert
