#pragma once

#include "engine/Pointer.h"
#include "engine/ProgressDisplay.h"

namespace platform {
class Clipboard;
class Dialogs;
class Spreadsheet;
} // namespace platform

namespace lists {

class ItemListModel;

// What the commands of the lists and the output need of the main window. The
// window implements it; tests use a headless one.
class CommandWindow
{
public:
    virtual ~CommandWindow() = default;

    virtual engine::Pointer pointer() const = 0;
    virtual void setPointer(engine::Pointer pointer) = 0;

    virtual ItemListModel &numberList() = 0;
    virtual ItemListModel &resultsList() = 0;
    virtual engine::ProgressDisplay &progress() = 0;

    // Process pending window events once (a host may throttle).
    virtual void yield() = 0;

    virtual platform::Dialogs &dialogs() = 0;
    virtual platform::Clipboard &clipboard() = 0;
    virtual platform::Spreadsheet &spreadsheet() = 0;
};

} // namespace lists
