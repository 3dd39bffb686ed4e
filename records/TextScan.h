// Scanning streams for texts, and trimming and collapsing white space. White space is the
// classic "C" set: space, tab, LF, VT, FF, CR. Case folding touches ASCII letters only.
#pragma once

#include <istream>
#include <string>
#include <string_view>

// Reads until text has just been read: true with the stream directly behind it; false when the
// stream ends or fails first, or was not in a good state at the call. A character that breaks a
// partial match is not tried again as the text's first character.
bool SkipToText(std::istream& is, std::string_view text, bool ignoreCase);

enum class ReadUntilResult { streamFailed = 0, limitReached = 1, found = 2 };

// Reads characters until text has just been read (found), limit characters have been read
// (limitReached) or the stream fails (streamFailed). out receives the characters read before the
// text; with convertBreaks each "<BR>" or "<br>" (and one LF directly after it) becomes one LF.
// On reaching the limit the last characters read, as many as text has (upper-cased unless
// matchCase), go into rest when it is given.
ReadUntilResult ReadUntilText(std::istream& is, std::string& out, std::string_view text, std::size_t limit,
    bool matchCase, bool convertBreaks, std::string* rest);

// Reads and drops white space; the first other character stays in the stream.
void SkipWhiteSpace(std::istream& is);

void TrimLeft(std::string& text);
void TrimRight(std::string& text);
// Replaces the trailing white space of a NUL-terminated text by NUL bytes.
void TrimRight(char* text);

// Each run of white space (at the start and end too) becomes one fill character; a fill of NUL
// removes the white space.
void CollapseWhiteSpace(std::string& text, char fill);
void CollapseWhiteSpace(char* text, char fill);
