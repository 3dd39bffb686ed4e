// Record types: small numbers, each the index of its name in RecordTypeNames. The names exist
// for the larger order-processing system that shares the record framework; nothing here reads
// them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

enum class RecordType : uint8_t {
    ctNull = 0,
    ctDatabase,
    ctEvent,
    ctClient,
    ctFosterEvent,
    ctEventHost,
    ctEmail,
    ctSupplier,
    ctEventHistory,
    ctCreditCardSalesReport,
    ctAddCharges,
    ctAddress,
    ctReceiptAddress,
    ctPhotoEvent,
    ctOrder,
    ctRetouchCharge,
    ctProductCatalog,
    ctCaptionData,
    ctEventOrderAlert,
    ctMountData,
    ctMountSizeData,
    ctProductDetails,
    ctSubject,
    ctOrderPart,
    ctTempOrderPart,
    ctPackDetails,
    ctGuideline,
    ctLayout,
    ctLayoutUnit,
    ctCompositeLayout,
    ctCompositeNameFont,
    ctCompositeMainNameFont,
    ctCompositeCaptionFonts,
    ctPaperSpecs,
    ctPacksCollection,
    ctReorderPacksCollection,
    ctOrderLayout,
    ctPortImage,
    ctGradImage,
    ctGroupImage,
    ctDeletedOrder,
};

inline constexpr std::size_t RecordTypeCount = 41;

// The name of every record type, indexed by its number.
extern const std::array<std::string, RecordTypeCount> RecordTypeNames;
