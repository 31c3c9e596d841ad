#pragma once
// The keys of the settings file, each with the check of its value.

#include <string>
#include <vector>

namespace zrv::app {

// Every key, in the order of the table.
std::vector<std::string> SettingKeyNames();

// True for a key the settings know.
bool IsSettingKey(const std::string& key);

// Why `value` cannot be the key's value (Bulgarian); empty when it can.
std::string SettingProblem(const std::string& key, const std::string& value);

}  // namespace zrv::app
