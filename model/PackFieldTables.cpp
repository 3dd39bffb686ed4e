// The fields of a pack and of a pack collection, named as the pack template's header names their
// columns, with the versions from which a template row and an archive carry each.
#include "model/CatalogVersions.h"
#include "model/PackDetails.h"
#include "model/PackVersions.h"
#include "model/PacksCollection.h"

namespace {
using catalogversions::always;
using namespace packversions;
using P = PackFields;
using C = PacksCollectionFields;
} // namespace

const std::array<PackField, packFieldRows> PackFieldTable = { {
    { 1, "Description", &P::LongDescription, always, nullptr, always, 0, 4 },
    { 2, "Short Description", &P::ShortDescription, always, nullptr, archive::ShortDescriptionSince, 0, 5 },
    { 3, "Price", &P::Price, always, nullptr, always, 0, 6 },
    { 4, "NoPrintForm", &P::NoPrintForm, NoPrintFormSince, nullptr, NoPrintFormSince, 0, 7 },
    { 5, "NoPrintWeb", &P::NoPrintWeb, NoPrintWebSince, nullptr, NoPrintWebSince, 0, 8 },
    { 6, "NoPandP", &P::NoPandP, NoPandPSince, nullptr, NoPandPSince, 0, 9 },
    { 7, "AddOn", &P::AddOn, AddOnSince, nullptr, AddOnSince, 0, 10 },
    { 8, "NoQtyDiscount", &P::NoQtyDiscount, file::NoQtyDiscountSince, nullptr, archive::NoQtyDiscountSince,
        0, 11 },
    { 9, "ImageMixin", &P::ImageMixin, ImageMixinSince, nullptr, ImageMixinSince, 0, 12 },
} };

const std::array<PacksCollectionField, packsCollectionFieldRows> PacksCollectionFieldTable = { {
    { 0, "MountType", &C::MountType, file::MountTypeSince, nullptr, archive::MountTypeSince, 1, 2 },
    { 1, "ServiceType", &C::ServiceType, ServiceTypeSince, nullptr, ServiceTypeSince, 2, 3 },
} };
