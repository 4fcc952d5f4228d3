#include "services/prompts.h"

namespace lavodc {

QString ErrorBoxText(const QString& errorText)
{
    if (errorText.endsWith(QLatin1Char('.')))
        return errorText;
    return errorText + QLatin1Char('.');
}

} // namespace lavodc
