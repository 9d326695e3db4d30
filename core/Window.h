// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/ConversionOptions.h"
#include "core/Pointer.h"
#include "core/ProgressDisplay.h"
#include "core/ReportSink.h"

#include <QByteArrayView>

class QString;

namespace core {

class Clipboard;
class Dialogs;
class ItemListModel;
class Spreadsheet;

// What the conversion run and the list and output commands need of the main
// window. The window implements it; tests and benchmarks use one fake.
//
// Data flow: the number list feeds the conversion run, which appends result
// lines; the list commands edit both lists; the output commands read the
// results list. Long commands yield, and other commands may run inside a
// yield, so every command reads the lists afresh after it yields.
class Window : public ReportSink, public ProgressDisplay
{
public:
    // The mouse pointer; the hourglass doubles as the busy flag.
    virtual Pointer pointer() const = 0;
    virtual void setPointer(Pointer pointer) = 0;

    // Process pending window events, further commands included. A window may
    // do so less often than it is asked, as long as what it shows is current
    // when it does.
    virtual void yield() = 0;

    // The number list and the results list. Result lines the window has
    // buffered are in the list once resultsList() returns.
    virtual ItemListModel &numberList() = 0;
    virtual ItemListModel &resultsList() = 0;

    // Result lines that follow come from this number, as the user typed it.
    virtual void startNumber(const QString &number) = 0;
    // Appends a line, checked, to the results list; the window may buffer it.
    virtual void appendResult(const QString &line) = 0;
    // A result line too long to be held twice is written into the results
    // list in pieces: beginResult() sets `utf8Size` bytes aside and returns
    // true, writeResult() adds the next bytes, endResult() appends the line,
    // checked, once they are all there, or drops it when `keep` is false; it
    // returns whether the line was appended (not when the results were
    // cleared meanwhile). A window that returns false from beginResult()
    // takes the line whole through appendResult().
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
    // A list load going on: the start button reads "Stop" meanwhile too, and
    // a click on it asks the load to stop (loadStopRequested()) instead of
    // starting a run. A window without such a button never asks.
    virtual void showLoading(bool loading) { Q_UNUSED(loading); }
    virtual bool loadStopRequested() const { return false; }

    virtual Dialogs &dialogs() = 0;
    virtual Clipboard &clipboard() = 0;
    virtual Spreadsheet &spreadsheet() = 0;
};

} // namespace core
