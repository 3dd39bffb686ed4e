// Loading a CSV text file (a layout, the catalogue, a pack template) whole before it is read, so
// that no reader ever waits on what a name stands for or holds more than a bounded amount: only a
// regular file is read (win::ReadRegularFile), no longer than win::kMaxTextFileBytes, and no field
// of it longer than kMaxCsvFieldBytes. A file past either bound is damaged, and is refused before
// any of it is read into a record.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The longest field a CSV text file may hold: no name, description or path comes near.
constexpr std::size_t kMaxCsvFieldBytes = std::size_t { 64 } << 10;

enum class CsvTextFileStatus {
    loaded,
    cannotOpen, // error holds the system's code
    damaged, // past a bound
};

struct CsvTextFile {
    CsvTextFileStatus status = CsvTextFileStatus::cannotOpen;
    int error = 0;
    std::string bytes; // the whole file when loaded
};

CsvTextFile LoadCsvTextFile(const std::string& path);

// Whether no field of the text is longer than maxField bytes. Fields are taken as ReadCsvField
// takes them (a comma or a line end outside quotes ends one), counted in the file's bytes, which
// are never fewer than the field's.
bool CsvFieldsWithin(std::string_view text, std::size_t maxField = kMaxCsvFieldBytes);
