#pragma once

class QString;

namespace engine {

// The progress bar: a value from 0 to 100 and a caption text.
class ProgressDisplay
{
public:
    virtual ~ProgressDisplay() = default;
    virtual void setProgressValue(double value) = 0;
    virtual void setProgressText(const QString &text) = 0;
};

} // namespace engine
