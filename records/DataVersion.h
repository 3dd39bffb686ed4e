// The data version this program writes and the version of the file read last. Every versioned
// reader compares the version of its data with fixed thresholds; each file reader sets
// SavedDataVersion from its own file, so it holds the version of the file read last.
#pragma once

// Written into the layout documents and pack templates this program produces; the highest
// version it accepts.
inline constexpr double CurrentDataVersion = 2.453;

// Archive forms of records carry the record id after this version.
inline constexpr double RecordIdSince = 2.2;

// The version of the file read last; 0 until a reader sets it. Readers are handed the version they
// read by (ReadContext); this keeps it for the program's other readers of it.
extern double SavedDataVersion;

// Back to the start-up value 0 (for tests).
void ResetSavedDataVersion();
