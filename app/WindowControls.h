// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

class QCheckBox;
class QGroupBox;
class QObject;
class QPushButton;
class QRadioButton;

class QWidget;

namespace core {
class ItemListModel;
}

namespace app {

class ItemListView;

class ProgressCaptionBar;

// The main window's controls, created from the control table.
struct WindowControls
{
    QPushButton *helpButton = nullptr;
    ItemListView *numberList = nullptr;
    QPushButton *addNumbersButton = nullptr;
    QPushButton *loadFileButton = nullptr;
    QPushButton *clearNumbersButton = nullptr;
    QPushButton *sampleButton = nullptr;
    QGroupBox *convertFrame = nullptr;
    QRadioButton *mnemonicOption = nullptr;
    QGroupBox *mnemonicFrame = nullptr;
    QRadioButton *wordsOnlyOption = nullptr;
    QRadioButton *wordsAndNumbersOption = nullptr;
    QRadioButton *spellOutOption = nullptr;
    QGroupBox *includeFrame = nullptr;
    QCheckBox *includeOriginalCheck = nullptr;
    QPushButton *startButton = nullptr;
    ItemListView *resultsList = nullptr;
    QPushButton *saveTextButton = nullptr;
    QPushButton *spreadsheetButton = nullptr;
    QPushButton *copyButton = nullptr;
    QPushButton *clearResultsButton = nullptr;
    QPushButton *removeContainingButton = nullptr;
    QPushButton *removeNotContainingButton = nullptr;
    ProgressCaptionBar *progressBar = nullptr;
};

// Sets up `window` as designed (fixed size, fonts, white background) and
// creates its controls, showing the two lists. The buttons, frames and list
// views send their events through `eventFilter` as well, for the pointer and
// the list keys.
WindowControls createControls(QWidget &window,
                              core::ItemListModel &numbers,
                              core::ItemListModel &results,
                              QObject &eventFilter);

} // namespace app
