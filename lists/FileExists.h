#pragma once

class QString;

namespace lists {

// True when the path's modification time can be read (folders count too);
// never fails.
bool FileExists(const QString &path);

} // namespace lists
