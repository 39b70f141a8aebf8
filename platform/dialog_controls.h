#pragma once
// What the small dialogs do to every control they create: its name (tests and the help
// find controls by it), the help number and the name a screen reader says.
#include "platform/context_help.h"

#include <QLatin1String>
#include <QString>

namespace zw::dialog {

// A caption as a screen reader says it: without the access mark and the colon.
inline QString spoken(QString caption)
{
    caption.remove(QLatin1Char('&'));
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption;
}

template <typename Control>
Control* named(Control* control, const char* name, int help, const QString& accessibleName = {})
{
    control->setObjectName(QLatin1String(name));
    setHelpNumber(control, help);
    if (!accessibleName.isEmpty())
        control->setAccessibleName(accessibleName);
    return control;
}

} // namespace zw::dialog
