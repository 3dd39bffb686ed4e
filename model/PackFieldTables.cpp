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
    { "Description", &P::LongDescription, 0, 1, 4, always, always },
    { "Short Description", &P::ShortDescription, 0, 2, 5, always, archive::ShortDescriptionSince },
    { "Price", &P::Price, 0, 3, 6, always, always },
    { "NoPrintForm", &P::NoPrintForm, 0, 4, 7, NoPrintFormSince, NoPrintFormSince },
    { "NoPrintWeb", &P::NoPrintWeb, 0, 5, 8, NoPrintWebSince, NoPrintWebSince },
    { "NoPandP", &P::NoPandP, 0, 6, 9, NoPandPSince, NoPandPSince },
    { "AddOn", &P::AddOn, 0, 7, 10, AddOnSince, AddOnSince },
    { "NoQtyDiscount", &P::NoQtyDiscount, 0, 8, 11, file::NoQtyDiscountSince, archive::NoQtyDiscountSince },
    { "ImageMixin", &P::ImageMixin, 0, 9, 12, ImageMixinSince, ImageMixinSince },
} };

const std::array<PacksCollectionField, packsCollectionFieldRows> PacksCollectionFieldTable = { {
    { "MountType", &C::MountType, 1, 0, 2, file::MountTypeSince, archive::MountTypeSince },
    { "ServiceType", &C::ServiceType, 2, 1, 3, ServiceTypeSince, ServiceTypeSince },
} };
