// The data version this program writes and the version of the file being read. Every versioned
// reader compares SavedDataVersion with fixed thresholds; each file reader sets it from its own
// file, so it holds the version of the file read last.
#pragma once

// Written into the layout documents and pack templates this program produces; the highest
// version it accepts.
inline constexpr double CurrentDataVersion = 2.453;

// The version of the file being read; 0 until a reader sets it.
extern double SavedDataVersion;

// Back to the start-up value 0 (for tests).
void ResetSavedDataVersion();
