// Reads record messages from a fuzz input into a record until the input ends or a message is
// refused with the readers' documented error, which ends the reading as it would a real message.
#pragma once

#include "records/DatabaseRecord.h"

#include <sstream>
#include <string>

namespace fuzzing {

inline void ReadMessages(DatabaseRecord& record, const std::string& bytes)
{
    std::istringstream in(bytes);
    try {
        while (in.peek() != std::char_traits<char>::eof())
            record.ReadFields(in);
    } catch (const DatabaseRecord::DispatchReadError&) {
    }
}

} // namespace fuzzing
