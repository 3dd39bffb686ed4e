// Reading ProductCatalog.csv at start-up: open it, check its version and its word, and let the
// catalogue read the rest. A file that cannot be opened, a later version, an unreadable version,
// a wrong word or a file cut short before its mounts section are refused with the text start-up
// shows before ending the program.
#pragma once

#include "model/ProductCatalog.h"
#include "records/ReadContext.h"

#include <istream>
#include <string>
#include <string_view>

enum class CatalogFileStatus {
    read,
    cannotOpen, // "Could not open the product details file"
    laterVersion, // "Product Catalog file is for a later version of the software"
    notACatalog, // "Products Details file is not a valid product catalog"
};

// The message shown for a refusal (empty for read).
std::string_view CatalogFileMessage(CatalogFileStatus status);

// The file's first two fields: the version, which goes into the context and, for the program's
// other readers of it, into SavedDataVersion, and the word, exactly "ProductCatalog". A version
// that is not a number (a byte-order mark before it, a word, nothing) is refused as not a
// catalogue, rather than read as the oldest version, and leaves both as they were.
CatalogFileStatus ReadCatalogFileStart(std::istream& in, ReadContext& context);
CatalogFileStatus ReadCatalogFileStart(std::istream& in);

// Checks the file's start and reads it into catalog (ProductCatalog::ReadCsv). A file that ends
// before its mounts section (a copy cut short, whose product list runs to its end) is refused as
// not a catalogue, although the catalogue has taken what it held.
CatalogFileStatus ReadProductCatalog(std::istream& in, ProductCatalog& catalog);
// Opens the file and reads it as ReadProductCatalog does. Only a regular file is read; one past the
// bounds of a CSV text file (CsvTextFile.h) is refused as not a catalogue before any of it is read.
CatalogFileStatus ReadProductCatalogFile(const std::string& path, ProductCatalog& catalog);
