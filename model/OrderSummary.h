// Order summaries: under each text key of an order, one entry per product counting the items
// ordered in colour and in mono and the mounts they need. Packs are added to a summary by the
// pack collection and orders are priced by the catalogue; here are the entries, the summary and
// the listings in catalogue order.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ProductDetails;

struct OrderSummaryEntry {
    uint32_t product = 0; // the product's ID
    uint32_t colourQuantity = 0; // items ordered in colour
    uint32_t monoQuantity = 0; // items ordered in mono
    uint32_t colourMounts = 0; // mounts the colour items need
    uint32_t monoMounts = 0; // mounts the mono items need

    bool operator==(const OrderSummaryEntry&) const = default;
};

// The entries of one key, in ascending product ID.
using OrderSummaryProducts = std::map<uint32_t, OrderSummaryEntry>;
// The order's keys in text order, each with its entries.
using OrderSummary = std::map<std::string, OrderSummaryProducts>;
using OrderSummaryList = std::vector<OrderSummaryEntry>;

// The entry for the product under one key, created with every count 0 when absent.
OrderSummaryEntry& OrderSummaryEntryFor(OrderSummaryProducts& products, uint32_t productId);

// Adds amount (which may be negative) to a count: the sum is taken in 64 bits and kept within 0
// and the largest 32-bit count, so that a count neither wraps past its top nor below 0.
void AddToCount(uint32_t& count, int64_t amount);

// Catalogue order: ascending Order, products of equal Order by ascending ID. Entries look their
// products up in GlobalProductCatalog; products it does not hold come after all the others, by
// ascending ID. Both are strict weak orders, so that every sort gives one defined result.
bool CompareProductsByOrder(const ProductDetails& first, const ProductDetails& second);
bool CompareEntriesByProductOrder(const OrderSummaryEntry& first, const OrderSummaryEntry& second);

// Replaces list with the entries of one key in catalogue order.
void SortOrderEntries(const OrderSummaryProducts& products, OrderSummaryList& list);
// Replaces list with one entry per product of the order, its four counts added up over all keys,
// in catalogue order.
void SummariseOrderByProduct(const OrderSummary& summary, OrderSummaryList& list);
