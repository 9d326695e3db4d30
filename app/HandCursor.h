#pragma once

#include <QCursor>

class QString;

namespace app {

// Loads a Windows cursor file as a cursor with the file's hot spot. Throws
// engine::Failure when the file is not a picture Qt can read.
QCursor LoadHandCursor(const QString &path);

} // namespace app
