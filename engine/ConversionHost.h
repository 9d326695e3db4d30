#pragma once

#include "Pointer.h"
#include "ProgressDisplay.h"
#include "ReportSink.h"

#include <QtGlobal>

class QString;

namespace engine {

// What the conversion run needs of its window. The main window implements it;
// tests and the benchmark use headless hosts. Items are numbered from 1.
class ConversionHost : public ReportSink, public ProgressDisplay
{
public:
    // PushButton17's caption: "Start Converting" while idle, "Stop" while running.
    virtual QString runButtonCaption() const = 0;
    virtual void setRunButtonCaption(const QString &caption) = 0;

    // The number list. numberText throws Failure for an index beyond the end
    // (items may be removed while the run yields).
    virtual int numberCount() const = 0;
    virtual QString numberText(int index) const = 0;

    // The results list: remove every item; append a line, checked and scrolled
    // into view.
    virtual void clearResults() = 0;
    virtual void appendResult(const QString &line) = 0;

    // Option1..Option4 as Booleans, Check1 as its check value (1 = checked).
    virtual bool option(int number) const = 0;
    virtual int check1Value() const = 0;

    virtual void setPointer(Pointer pointer) = 0;

    // The progress caption "Generating words.. please wait.. " + count. The
    // mnemonic search shows a new count before every yield; a host that draws
    // less often than it yields may keep the count and write the caption
    // when it draws.
    virtual void showGeneratedCount(qint64 count);

    // Process pending window events (further commands included). A host may
    // do so less often than it is asked, as long as the captions it shows are
    // current when it does.
    virtual void yield() = 0;
};

} // namespace engine
