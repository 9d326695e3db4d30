#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The help message, built from the current captions of the two conversion
// options.
QString HelpMessage(const QString &mnemonicCaption, const QString &spelledOutCaption);

// The two example numbers that "Load Sample/Example Data" appends.
inline const QStringList SampleNumbers{QStringLiteral("434-3453"), QStringLiteral("234-9237")};

} // namespace app
