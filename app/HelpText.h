// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace core {
class CommandHost;
class Dialogs;
} // namespace core

namespace app {

// The help message, built from the current captions of the two conversion
// options.
QString helpMessage(const QString &mnemonicCaption, const QString &spelledOutCaption);

// "Help": shows the help message.
void showHelp(core::CommandHost &window,
              core::Dialogs &dialogs,
              const QString &mnemonicCaption,
              const QString &spelledOutCaption);

// The two example numbers that "Load Sample/Example Data" appends.
inline const QStringList SampleNumbers{QStringLiteral("434-3453"), QStringLiteral("234-9237")};

// "Load Sample/Example Data": appends the example numbers to the number list.
void loadSampleNumbers(core::CommandHost &window);

} // namespace app
