// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/CommandHost.h"
#include "core/ConversionOptions.h"

#include <QByteArrayView>

class QString;

namespace core {

// What a conversion run needs of the window that hosts it, besides what
// every command needs: the options, the result lines it appends and the
// start button's caption. The main window, the converter's console host and
// the tests' fake window implement it.
class RunHost : public CommandHost
{
public:
    // Result lines that follow come from this number, as the user typed it.
    virtual void startNumber(const QString &number) = 0;
    // Appends a line, checked, to the results list; the host may buffer it.
    virtual void appendResult(const QString &line) = 0;
    // A result line too long to be held twice is written into the results
    // list in pieces: beginResult() sets `utf8Size` bytes aside and returns
    // true, writeResult() adds the next bytes, endResult() appends the line,
    // checked, once they are all there, or drops it when `keep` is false; it
    // returns whether the line was appended (not when the results were
    // cleared meanwhile). A host that returns false from beginResult() takes
    // the line whole through appendResult().
    virtual bool beginResult(qsizetype utf8Size)
    {
        Q_UNUSED(utf8Size);
        return false;
    }
    virtual void writeResult(QByteArrayView utf8) { Q_UNUSED(utf8); }
    virtual bool endResult(bool keep)
    {
        Q_UNUSED(keep);
        return false;
    }

    // The options as the window shows them now.
    virtual ConversionOptions conversionOptions() const = 0;
    // The start button reads "Stop" while a run goes on, else "Start Converting".
    virtual void showRunning(bool running) = 0;
};

} // namespace core
