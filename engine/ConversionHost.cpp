#include "ConversionHost.h"

#include "ConversionRun.h"

namespace engine {

void ConversionHost::showGeneratedCount(qint64 count)
{
    setProgressText(ConversionRun::generatingCaption(count));
}

} // namespace engine
