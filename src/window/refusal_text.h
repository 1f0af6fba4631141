#pragma once

#include <QString>
#include <string>

namespace card {

// Why the name dialog asks again after `answer`, in plain words with the fix where there is one
// ("Capital letters can't be used: try "ana"."), or an empty text when `answer` was accepted.
QString PlainRefusal(const std::string& answer);

}  // namespace card
