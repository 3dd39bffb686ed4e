// Printable forms of the catalogue records for comparisons, a fixture that starts each test with
// the program-wide catalogue and data version at their start-up values, and a recording list.
#pragma once

#include "model/AddStringTarget.h"
#include "model/ProductCatalog.h"
#include "records/CsvNumbers.h"
#include "records/DataVersion.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

// A field's value as text: texts as they are, flags 1 or 0, amounts with two decimals, reals as
// "%g" gives them.
template <typename Fields> std::string FieldText(const Fields& fields, const FieldRow<Fields>& field)
{
    std::string text;
    fieldtable::VisitValue(fields, field,
        fieldtable::Overloaded { [&](const std::string& value) { text = value; },
            [&](bool value) { text = value ? "1" : "0"; },
            [&](uint32_t value) { text = FormatUnsigned(value); },
            [&](int32_t value) { text = FormatInt(value); },
            [&](const Money& value) { text = value.ToString(false); },
            [&](double value) { text = FormatDouble(value); } });
    return text;
}

template <typename Fields, std::size_t N>
std::string FieldText(
    const Fields& fields, const std::array<FieldRow<Fields>, N>& table, std::string_view name)
{
    for (const auto& field : table)
        if (field.label == name)
            return FieldText(fields, field);
    ADD_FAILURE() << "no field " << name;
    return {};
}

// Every field, "name=value" one after another.
template <typename Fields, std::size_t N>
std::string AllFields(const Fields& fields, const std::array<FieldRow<Fields>, N>& table)
{
    std::string text;
    for (const auto& field : table)
        text += std::string(field.label) + "=" + FieldText(fields, field) + ";";
    return text;
}

inline std::string Dump(const ProductDetails& product)
{
    return AllFields(product.GetFields(), ProductFieldTable);
}

inline std::string Dump(const MountData& mounts)
{
    std::ostringstream out;
    for (const auto& description : mounts.GetDescriptions())
        out << "type " << description << "\n";
    for (const auto& size : mounts.GetSizes()) {
        out << "size " << size->GetName() << ":";
        for (const Money& price : size->GetPrices())
            out << " " << price.ToString(false);
        out << " /";
        for (const int32_t code : size->GetCodes())
            out << " " << code;
        out << "\n";
    }
    return out.str();
}

inline std::string Dump(const ProductCatalog& catalog)
{
    std::string text = AllFields(catalog.GetSettings(), CatalogSettingsTable) + "\n";
    for (const auto& [id, product] : catalog.GetElements())
        text += FormatUnsigned(id) + ": " + Dump(*product) + "\n";
    return text + Dump(catalog.GetMountData());
}

class RecordingCombo : public AddStringTarget {
public:
    void AddString(const std::string& text) override { added.push_back(text); }
    std::vector<std::string> added;
};

class CatalogFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGlobalProductCatalog();
        ResetSavedDataVersion();
    }
    void TearDown() override
    {
        ResetGlobalProductCatalog();
        ResetSavedDataVersion();
    }
};
