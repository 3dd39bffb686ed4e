#include "model/ProductCatalogFile.h"

#include "model/DocumentFieldReaders.h"
#include "records/CsvNumbers.h"
#include "records/CsvTextFile.h"
#include "records/DataVersion.h"

#include <cerrno>
#include <sstream>
#include <utility>

std::string_view CatalogFileMessage(CatalogFileStatus status)
{
    switch (status) {
    case CatalogFileStatus::read:
        break;
    case CatalogFileStatus::cannotOpen:
        return "Could not open the product details file";
    case CatalogFileStatus::laterVersion:
        return "Product Catalog file is for a later version of the software";
    case CatalogFileStatus::notACatalog:
        return "Products Details file is not a valid product catalog";
    }
    return {};
}

CatalogFileStatus ReadCatalogFileStart(std::istream& in, ReadContext& context)
{
    const auto version = layoutdoc::ReadPresentField(in);
    double number = 0;
    if (!version || version->text.empty() || !StringToDouble(version->text, number))
        return CatalogFileStatus::notACatalog;
    context.dataVersion = number;
    SavedDataVersion = number;
    if (number > CurrentDataVersion)
        return CatalogFileStatus::laterVersion;
    const auto word = layoutdoc::ReadPresentField(in);
    if (!word || word->text != "ProductCatalog")
        return CatalogFileStatus::notACatalog;
    return CatalogFileStatus::read;
}

CatalogFileStatus ReadCatalogFileStart(std::istream& in)
{
    ReadContext context;
    return ReadCatalogFileStart(in, context);
}

CatalogFileStatus ReadProductCatalog(std::istream& in, ProductCatalog& catalog)
{
    ReadContext context;
    const CatalogFileStatus status = ReadCatalogFileStart(in, context);
    if (status != CatalogFileStatus::read)
        return status;
    bool mountsFound = false;
    catalog.ReadCsv(in, context, mountsFound);
    return mountsFound ? CatalogFileStatus::read : CatalogFileStatus::notACatalog;
}

CatalogFileStatus ReadProductCatalogFile(const std::string& path, ProductCatalog& catalog)
{
    CsvTextFile file = LoadCsvTextFile(path);
    if (file.status == CsvTextFileStatus::cannotOpen) {
        errno = file.error;
        return CatalogFileStatus::cannotOpen;
    }
    if (file.status == CsvTextFileStatus::damaged)
        return CatalogFileStatus::notACatalog;
    std::istringstream in(std::move(file.bytes));
    return ReadProductCatalog(in, catalog);
}
