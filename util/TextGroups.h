// Long numbers in readable groups, as on printed references.
#pragma once

#include <string>

// Inserts a blank after every groupSize characters, counting from the start, with none at the
// end; a group size below 1 leaves the text as it is.
void InsertBlankEvery(std::string& text, int groupSize);
