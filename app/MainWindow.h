// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include "app/Dictionary.h"
#include "app/MemoryGuard.h"
#include "app/OptionSettings.h"
#include "app/SpellLanguageChoice.h"
#include "app/WindowControls.h"
#include "core/DataFolders.h"
#include "core/ItemListModel.h"
#include "core/RunHost.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace core {
class Clipboard;
class Dialogs;
class SettingsStore;
class Spreadsheet;
} // namespace core

namespace engine {
class ConversionRun;
}

namespace app {

class ResultsOrderControl;

// The services the window reaches the platform through; owned by main().
struct Services
{
    core::Dialogs &dialogs;
    core::SettingsStore &settings;
    core::Clipboard &clipboard;
    core::Spreadsheet &spreadsheet;
    // Creates the (closed) dictionary connection.
    std::function<std::unique_ptr<core::Connection>()> createConnection;
    // Where dbWords.mdb and the optional files are looked for.
    core::DataFolders dataFolders;
    // Ends the process at once; closing the window calls it.
    std::function<void()> endProcess;
    // The memory available now in bytes, -1 when unknown; a run's results
    // never outgrow what was available when it started.
    std::function<qint64()> availableMemory;
};

// The main window. Each control's click runs one procedure of engine/,
// lists/, output/ or this folder, which works on the window through
// core::CommandHost (a run through core::RunHost) and gets the services it
// uses (dialogs, clipboard, spreadsheet) on their own. The options are written to the settings
// store at every change and read back at start-up. Result lines and progress texts are buffered and
// shown at most every few tens of milliseconds, so that long runs stay fast
// under a real display server.
class MainWindow : public QWidget, public core::RunHost
{
    Q_OBJECT

public:
    explicit MainWindow(Services services, QWidget *parent = nullptr);
    ~MainWindow() override;

    // The start-up steps; the window is shown after they return.
    void startUp();

    const engine::WordStore &wordStore() const { return m_dictionary.words; }
    // The progress caption shown right now (after the last refresh).
    QString shownProgressText() const;

    // core::RunHost
    core::Pointer pointer() const override { return m_pointer; }
    void setPointer(core::Pointer pointer) override;
    void yield() override;
    core::ItemListModel &numberList() override { return m_numbers; }
    core::ItemListModel &resultsList() override;
    void startNumber(const QString &number) override;
    void appendResult(const QString &line) override;
    bool beginResult(qsizetype utf8Size) override;
    void writeResult(QByteArrayView utf8) override;
    bool endResult(bool keep) override;
    core::ConversionOptions conversionOptions() const override;
    void showRunning(bool running) override;
    void showLoading(bool loading) override;
    bool loadStopRequested() const override { return m_loadStopRequested; }
    void setProgressValue(double value) override;
    void setProgressText(const QString &text) override;
    void showGeneratedCount(qint64 count) override;
    void showErrorReport(const QString &text) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectHandlers();
    void conversionChosen();
    void lineFilterChosen();
    void includeOriginalClicked();
    void pointerOverBackground();
    void pointerOverButton();
    void startClicked();
    void showStartCaption();

    // Shows the latest progress and the buffered result lines: all of them,
    // or, in a sorted order, only when placing them is due.
    enum class Flush { All, WhenDue };
    void refresh(Flush flush = Flush::All);
    void scheduleRefresh();

    Services m_services;
    // Before the lists: their workers rank by its words until the lists end.
    Dictionary m_dictionary;
    core::ItemListModel m_numbers;
    core::ItemListModel m_results;
    WindowControls m_controls;
    OptionSettings m_options;
    SpellLanguageChoice m_spellLanguage;
    std::unique_ptr<engine::ConversionRun> m_run;
    std::unique_ptr<ResultsOrderControl> m_order;
    MemoryGuard m_memoryGuard;
    int m_linesSinceMemoryCheck = 0;
    bool m_running = false;
    int m_loads = 0; // list loads going on, one inside another's yield
    bool m_loadStopRequested = false;

    core::Pointer m_pointer = core::Pointer::Default;
    std::optional<QCursor> m_handCursor;

    double m_progressValue = 0;
    QString m_progressText;
    qint64 m_progressCount = -1; // >= 0: the caption is the generating caption of this count
    bool m_progressDirty = false;
    bool m_refreshPosted = false;
    QElapsedTimer m_sinceEvents;
};

} // namespace app
