// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringView>

namespace engine {

// `word` lower-cased into `lower`, as QString::toLower() would do it, but
// without a new string per word (the storage of `lower` is reused): the
// dictionary's words are stored so, whatever file they come from.
void lowerCase(QStringView word, QString &lower);

} // namespace engine
