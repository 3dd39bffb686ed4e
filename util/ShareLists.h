// Readers of the text files that list shares: Samba's configuration, its user shares and the NFS
// exports. Each gives the shares it finds; lines longer than a bound are skipped whole.
#pragma once

#include "util/ShareEnumerator.h"

#include <istream>
#include <string>
#include <vector>

namespace share_lists {

// The longest line read; longer lines are skipped (a share line is never that long).
inline constexpr size_t kMaxLineLength = 16384;

std::vector<ShareEnumerator::Share> ReadSambaConfig(std::istream& in);
std::vector<ShareEnumerator::Share> ReadSambaUserShare(std::istream& in, const std::string& name);
std::vector<ShareEnumerator::Share> ReadNfsExports(std::istream& in);

// Reads the next line (LF, CR LF), giving false at the end of the input; a line longer than
// kMaxLineLength comes back empty, having been read to its end.
bool ReadBoundedLine(std::istream& in, std::string& line);

} // namespace share_lists
