// The legacy order-form template: before layouts were unit trees, the order form was a list of
// named numbers ("1.3","PortraitOrderPrintWidth","640"). Layout::ReadCsv recognises such a file by
// the "Key" in its first line and hands the rest to Layout::ReadOrderFormTemplate, which reads the
// settings with ReadOrderFormTemplateValues and places the units of the current layout from them.
#pragma once

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <string_view>

constexpr std::size_t OrderFormSettingCount = 53;

// The setting names in index order; a template names its settings with them.
extern const std::array<std::string_view, OrderFormSettingCount> OrderFormSettingNames;

// The values of one template, by the index of their names. Every read starts from zeros, so a
// setting that a template omits is 0, whatever an earlier template held.
using OrderFormSettings = std::array<int32_t, OrderFormSettingCount>;

// The unknown keys of one template, each shown to the user ("Ignoring bad key ...") up to
// ShownBadKeys of them; the rest are counted and shown in one further message by Finish, so that a
// file full of bad keys cannot bury the user under message boxes.
class OrderFormBadKeys {
public:
    static constexpr uint32_t ShownBadKeys = 10;

    void Report(std::string_view key);
    // Shows "Ignoring %u more bad keys ..." when more keys than ShownBadKeys were reported.
    void Finish() const;

private:
    uint32_t count_ = 0;
};

// Stores the value (when the line held a number) under the key's index (exact match); an unknown
// key is reported to badKeys whatever its value, and changes nothing.
void SetOrderFormTemplateValue(OrderFormSettings& settings, OrderFormBadKeys& badKeys, std::string_view key,
    std::optional<int32_t> value);

// Reads the setting lines of a template, the stream standing at the start of the second line.
// A line stores its value only when it holds a key and a number; a blank line adds nothing; the
// rest of a line after its third field is skipped. Leaves SavedDataVersion at 0, as the end of
// the file reads as an empty version field.
OrderFormSettings ReadOrderFormTemplateValues(std::istream& in);
