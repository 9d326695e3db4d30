// SPDX-FileCopyrightText: 2026 Tarrowen
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <QStringList>

namespace app {

// The theme's style sheet with every url() emptied whose target is anything
// but a regular file or nothing at all: Qt opens the target at the first
// paint, and a named pipe there would wait for a writer forever. The target
// is the path Qt opens, found as Qt's style sheet reader finds it: CSS hex
// escapes ("\66" is "f") decoded first, then the function names and the
// arguments read with their backslash escapes ("u\rl(fif\o)"), quotes
// dropped. Resource paths (":/..." and "qrc:") are kept.
QString withSafeUrls(const QString &sheet);

namespace detail {
// The paths the url()s of `sheet` name, in order, as withSafeUrls() sees
// them (two for one url() where escapes can be read two ways).
QStringList urlTargets(const QString &sheet);
} // namespace detail

} // namespace app
