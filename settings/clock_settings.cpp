#include "settings/clock_settings.h"

#include <utility>

namespace zw {

ClockSettings::ClockSettings(std::filesystem::path iniPath)
    : file_(std::move(iniPath))
{
}

std::int32_t ClockSettings::left(std::int32_t defaultLeft) const { return file_.readInteger(section, keyLeft, defaultLeft); }
std::int32_t ClockSettings::top() const { return file_.readInteger(section, keyTop, 0); }

void ClockSettings::setPosition(std::int32_t x, std::int32_t y) const
{
    file_.writeInteger(section, keyLeft, x);
    file_.writeInteger(section, keyTop, y);
}

bool ClockSettings::visible() const { return file_.readBool(section, keyVisible, false); }
void ClockSettings::setVisible(bool shown) const { file_.writeBool(section, keyVisible, shown); }

std::string ClockSettings::status() const { return file_.readText(section, keyStatus, statusTop); }
bool ClockSettings::staysOnTop() const { return status() == statusTop; }
void ClockSettings::setStaysOnTop(bool onTop) const { file_.writeText(section, keyStatus, onTop ? statusTop : statusBack); }

std::string ClockSettings::display() const { return file_.readText(section, keyDisplay, defaultDisplay); }
void ClockSettings::setDisplay(std::string_view styleName) const { file_.writeText(section, keyDisplay, styleName); }

bool ClockSettings::extended() const { return file_.readBool(section, keyExtended, false); }
void ClockSettings::setExtended(bool on) const { file_.writeBool(section, keyExtended, on); }

} // namespace zw
