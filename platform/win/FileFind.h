// Whether a file or folder exists, as the original platform's file finder answers it: the last
// component of the path may hold the wildcards '*' (any run of characters) and '?' (any one
// character), and the answer is then whether anything in that folder matches.
#pragma once

#include <string>
#include <string_view>

namespace win {

bool FindFile(std::string_view path);
// Whether the name matches the pattern with '*' and '?' wildcards (case-sensitive).
bool WildcardMatch(std::string_view pattern, std::string_view name);

} // namespace win
