// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "core/Pointer.h"
#include "core/ProgressDisplay.h"
#include "core/ReportSink.h"

namespace core {

class ItemListModel;

// What the list and output commands need of the main window: its two lists,
// the progress bar, the error report, the pointer and the yield. The services
// a command uses besides (dialogs, clipboard, spreadsheet) are handed to it
// on their own.
//
// Data flow: the number list feeds the conversion run, which appends result
// lines; the list commands edit both lists; the output commands read the
// results list. Long commands yield, and other commands may run inside a
// yield, so every command reads the lists afresh after it yields.
class CommandHost : public ReportSink, public ProgressDisplay
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

    // A list load going on: the start button reads "Stop" meanwhile, and a
    // click on it asks the load to stop (loadStopRequested()) instead of
    // starting a run. A window without such a button never asks.
    virtual void showLoading(bool loading) { Q_UNUSED(loading); }
    virtual bool loadStopRequested() const { return false; }
};

} // namespace core
