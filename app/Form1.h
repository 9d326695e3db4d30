#pragma once

#include "engine/ConversionHost.h"
#include "engine/WordStore.h"
#include "lists/CommandWindow.h"
#include "lists/ItemListModel.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QGroupBox;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTableView;

namespace engine {
class ConversionRun;
class Connection;
} // namespace engine

namespace platform {
class SettingsStore;
} // namespace platform

namespace app {

class OptionSettings;

// The services the window reaches the platform through; owned by main().
struct Services
{
    platform::Dialogs &dialogs;
    platform::SettingsStore &settings;
    platform::Clipboard &clipboard;
    platform::Spreadsheet &spreadsheet;
    // Creates the (closed) dictionary connection.
    std::function<std::unique_ptr<engine::Connection>()> createConnection;
    // The folder that holds the program, dbWords.mdb and the optional files.
    QString applicationFolder;
    // Ends the process at once; closing the window calls it.
    std::function<void()> endProcess;
};

// The main window. Data flow: the number list feeds the conversion run, which
// fills the results list; the list and output commands work on the two lists
// through lists::CommandWindow; the options are written to the settings store
// at every change and read back at start-up. Result lines and progress texts
// are buffered and shown at most every few tens of milliseconds, so that long
// runs stay fast under a real display server.
class Form1 : public QWidget, public engine::ConversionHost, public lists::CommandWindow
{
    Q_OBJECT

public:
    explicit Form1(Services services, QWidget *parent = nullptr);
    ~Form1() override;

    // The start-up steps; the window is shown after they return.
    void Form_Load();

    const engine::WordStore &wordStore() const { return m_wordStore; }

    // Controls, for the handlers and for tests.
    QPushButton *PushButton1 = nullptr;
    QPushButton *PushButton2 = nullptr;
    QPushButton *PushButton3 = nullptr;
    QPushButton *PushButton4 = nullptr;
    QPushButton *PushButton5 = nullptr;
    QPushButton *PushButton6 = nullptr;
    QPushButton *PushButton7 = nullptr;
    QPushButton *PushButton8 = nullptr;
    QPushButton *PushButton13 = nullptr;
    QPushButton *PushButton17 = nullptr;
    QPushButton *PushButton22 = nullptr;
    QPushButton *PushButton23 = nullptr;
    QTableView *ListView1 = nullptr;
    QTableView *ListView2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QGroupBox *Frame3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QRadioButton *Option4 = nullptr;
    QCheckBox *Check1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

    // engine::ConversionHost
    QString runButtonCaption() const override;
    void setRunButtonCaption(const QString &caption) override;
    int numberCount() const override;
    QString numberText(int index) const override;
    void clearResults() override;
    void appendResult(const QString &line) override;
    bool option(int number) const override;
    int check1Value() const override;
    void setProgressValue(double value) override;
    void setProgressText(const QString &text) override;
    void showGeneratedCount(qint64 count) override;
    void showErrorReport(const QString &text) override;

    // Shared by both interfaces.
    engine::Pointer pointer() const override { return m_pointer; }
    void setPointer(engine::Pointer pointer) override;
    void yield() override;

    // lists::CommandWindow
    lists::ItemListModel &numberList() override { return m_numbers; }
    lists::ItemListModel &resultsList() override;
    engine::ProgressDisplay &progress() override { return *this; }
    platform::Dialogs &dialogs() override { return m_services.dialogs; }
    platform::Clipboard &clipboard() override { return m_services.clipboard; }
    platform::Spreadsheet &spreadsheet() override { return m_services.spreadsheet; }

    // The progress shown right now (after the last refresh), for tests.
    QString shownProgressText() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setOptionState(QRadioButton *button, bool selected);
    void connectHandlers();

    // Handlers.
    void Option1_2_Click();
    void Option3_4_Click();
    void Check1_Click();
    void PushButton7_Click();
    void PushButton8_Click();
    void PointerOverBackground();
    void PointerOverButton();

    // Shows buffered result lines and the latest progress now.
    void refresh();
    void scheduleRefresh();
    int selectedRow(const QTableView *view) const;

    Services m_services;
    std::unique_ptr<OptionSettings> m_options;
    std::unique_ptr<engine::ConversionRun> m_run;
    std::unique_ptr<engine::Connection> m_wordsConnection;
    engine::WordStore m_wordStore;

    lists::ItemListModel m_numbers;
    lists::ItemListModel m_results;
    QStringList m_pendingResults;

    engine::Pointer m_pointer = engine::Pointer::Default;
    std::optional<QCursor> m_handCursor;

    double m_progressValue = 0;
    QString m_progressText;
    qint64 m_progressCount = -1; // >= 0: the caption is the generating caption of this count
    bool m_progressDirty = false;
    bool m_refreshPosted = false;
    QElapsedTimer m_sinceEvents;
};

} // namespace app
