#include "manager/appointment_properties.h"

#include "store/appointment_line.h"

namespace zw {

AppointmentProperties propertiesOf(std::string_view text)
{
    const line::Texts texts = line::readTexts(text);
    return {std::string(line::dateField(text)),    std::string(line::timeField(text)),
            std::string(line::repeatField(text)),  std::string(line::activeField(text)),
            std::string(texts.message),            std::string(texts.application),
            std::string(texts.sound)};
}

} // namespace zw
