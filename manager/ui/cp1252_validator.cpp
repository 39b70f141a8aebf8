#include "manager/ui/cp1252_validator.h"

#include "platform/qt_text.h"

namespace zw {

QValidator::State Cp1252Validator::validate(QString& input, int&) const
{
    for (const QChar c : input) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return Invalid;
    }
    return fitsCp1252(input) ? Acceptable : Invalid;
}

} // namespace zw
