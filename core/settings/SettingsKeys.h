#pragma once
// Single setting values by name, as the command line sets them:
// "points=10,6,4,3,2,1", "pit-speed-mph=60", "aids.rookie=F1,F2,F5",
// "damage.nose=1200", "camera.3.direction=-90", ... Each key belongs to one
// selection item; a value is checked against the editor's range before
// anything changes.

#include "settings/GameSettings.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace pitwall {

class SettingKeyError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The selection item a key belongs to; SettingKeyError for an unknown key.
int SettingKeyItem(const std::string& key);

// Sets one value. SettingKeyError naming the key for an unknown key and
// naming key and value for a value out of range or not understood; the
// settings stay as they were then.
void SetSettingValue(GameSettings& settings, const std::string& key, const std::string& value);

// Every key, for the command's help.
std::vector<std::string> SettingKeys();

} // namespace pitwall
