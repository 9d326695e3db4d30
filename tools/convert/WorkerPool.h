// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

namespace engine {
class WordStore;
}

namespace convert {

class NumberSource;
class StandardOutput;
struct Settings;

// Converts every number of `source` on settings.jobs threads, each with its
// own engine objects, and writes the lines to `output` in input order (with
// --rank-numbers, the numbers' best lines best first at the end) and the
// messages of each number to standard error. Memory stays flat however many
// numbers come: the workers take one number at a time, and the reorder
// buffer between them and the writer is bounded. When the output cannot be
// written the workers stop at their next checkpoint. False when a number or
// line was left out, stopped or reported an error.
bool convertNumbers(const Settings &settings,
                    const engine::WordStore &words,
                    NumberSource &source,
                    StandardOutput &output);

} // namespace convert
