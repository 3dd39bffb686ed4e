// The fields of a product, in the order of the catalogue file's columns. Names are those of the
// file's header line where it names the column. The archive carries every field but Special,
// from the same versions as the file.
#include "model/CatalogVersions.h"
#include "model/ProductDetails.h"

namespace {

using P = ProductFields;
using namespace catalogversions;
using namespace catalogversions::product;

constexpr ProductField Row(std::string_view name, FieldMember<P> member, double defaultValue, uint16_t id,
    int column, double since = always)
{
    return { id, name, member, since, nullptr, since, defaultValue, column };
}

} // namespace

const std::array<ProductField, productFieldCount> ProductFieldTable = {
    Row("Long", &P::Long, 0, 0, 1),
    Row("Medium", &P::Medium, 0, 1, 2),
    Row("Short", &P::Short, 0, 2, 3),
    Row("Column4Text", &P::Column4Text, 0, 3, 4, Column4TextSince),
    Row("Column5Text", &P::Column5Text, 0, 4, 5, Column5TextSince),
    Row("Discontinued", &P::Discontinued, 0, 5, 6),
    Row("ID", &P::ID, 0, 6, 7),
    Row("Column8Flag", &P::Column8Flag, 0, 53, 8, Column8FlagSince),
    Row("Order", &P::Order, 0, 7, 9),
    Row("Full", &P::Full, 0, 8, 10),
    Row("Data", &P::Data, 0, 9, 11),
    Row("Return", &P::Return, 0, 10, 12),
    Row("Inches", &P::Inches, 0, 11, 13),
    Row("Group", &P::Group, 0, 12, 14),
    { 13, "Special", &P::Special, always, nullptr, never, 0, 15 },
    Row("Large", &P::Large, 0, 14, 16),
    Row("Small", &P::Small, 0, 15, 17),
    Row("Browse", &P::Browse, 0, 16, 18),
    Row("Double", &P::Double, 0, 17, 19),
    Row("Print", &P::Print, 0, 18, 20),
    Row("PostSep", &P::PostSep, 0, 19, 21),
    Row("PostPr", &P::PostPr, 0, 20, 22),
    Row("PackFlag", &P::PackFlag, 0, 21, 23),
    Row("SepPackScan", &P::SepPackScan, 0, 22, 24, SepPackScanSince),
    Row("Mounts", &P::Mounts, 0, 23, 25),
    Row("MountsPossible", &P::MountsPossible, 1, 24, 26),
    Row("MntSize", &P::MntSize, 0, 25, 27),
    Row("PortCaptions", &P::PortCaptions, 0, 26, 28),
    Row("LandCaptions", &P::LandCaptions, 0, 27, 29),
    Row("PortCapSep", &P::PortCapSep, 0, 28, 30, CaptionSeparationSince),
    Row("LandCapSep", &P::LandCapSep, 0, 29, 31, CaptionSeparationSince),
    Row("Column32Value", &P::Column32Value, 0, 30, 32),
    Row("Column33Value", &P::Column33Value, 0, 31, 33),
    Row("Discnt", &P::Discnt, 0, 32, 34),
    Row("IncDis", &P::IncDis, 0, 33, 35),
    Row("Compos", &P::Compos, 0, 34, 36),
    Row("HotF", &P::HotF, 0, 35, 37),
    Row("S Alone", &P::SAlone, 0, 36, 38),
    Row("PrintChannel", &P::PrintChannel, 0, 37, 39),
    Row("DoublePrintChannel", &P::DoublePrintChannel, 0, 38, 40),
    Row("LCapPrintChannel", &P::LCapPrintChannel, 0, 39, 41),
    Row("PCapPrintChannel", &P::PCapPrintChannel, 0, 40, 42),
    Row("Width", &P::Width, 0, 41, 43),
    Row("Height", &P::Height, 0, 42, 44),
    Row("PrintMethod", &P::PrintMethod, 0, 43, 45),
    Row("SpecPrintMethod", &P::SpecPrintMethod, 0, 44, 46),
    Row("SplitMono", &P::SplitMono, 0, 45, 47),
    Row("NoristuHF", &P::NoristuHF, 0, 46, 48),
    Row("CanDoMono", &P::CanDoMono, 0, 47, 49),
    Row("PricePercent", &P::PricePercent, 0, 48, 50, PricePercentSince),
    Row("needsAddress", &P::needsAddress, 0, 49, 51, NeedsAddressSince),
    Row("PrintLabelOnScan", &P::PrintLabelOnScan, 1, 50, 52, PrintLabelOnScanSince),
    Row("NonSAProductID", &P::NonSAProductID, 0, 51, 53, NonSAProductIdSince),
    Row("NumMultiImages", &P::NumMultiImages, 1, 52, 54, NumMultiImagesSince),
};
