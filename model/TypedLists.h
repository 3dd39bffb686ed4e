// Readers and writers of the catalogue records' further value types: money and reals in record
// messages, and lists of texts, amounts and 32-bit integers on archives and in record messages.
// A list is a 32-bit count followed by its elements.
//
// Counts come from the data: an archive count is checked against the bytes left before anything
// is allocated, and a record-message list grows element by element, each read throwing when the
// bytes run out, so a false count never makes a large allocation.
#pragma once

#include "model/Money.h"
#include "platform/win/Archive.h"
#include "records/DatabaseRecord.h"

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

using StringList = std::vector<std::string>;
using MoneyList = std::vector<Money>;
using IntList = std::vector<int32_t>;

// The element count of an archive list, refused with win::ArchiveException (end of file) when the
// bytes left cannot hold that many elements of at least minimumSize bytes each.
uint32_t ReadArchiveCount(win::Archive& archive, std::size_t minimumSize);

// Archives. The readers empty the list first; a count larger than the archive can hold throws
// win::ArchiveException (end of file).
void ReadArchiveStringList(win::Archive& archive, StringList& list);
void WriteArchiveStringList(win::Archive& archive, const StringList& list);
void ReadArchiveMoneyList(win::Archive& archive, MoneyList& list);
void WriteArchiveMoneyList(win::Archive& archive, const MoneyList& list);
void ReadArchiveIntList(win::Archive& archive, IntList& list);
void WriteArchiveIntList(win::Archive& archive, const IntList& list);

// Record messages, read and written on behalf of a record: its description goes into the errors,
// its modified mask decides (with pendingOnly) what is written and loses the bits written.
inline constexpr std::string_view FaultyMoneyStreamText = "Attempt to read Money from faulty stream: ";

void ReadDispatchMoney(const DatabaseRecord& record, std::istream& in, Money& money);
void ReadDispatchDouble(const DatabaseRecord& record, std::istream& in, double& value);
// A negative count reads as an empty list.
void ReadDispatchStringList(const DatabaseRecord& record, std::istream& in, StringList& list);
void ReadDispatchMoneyList(const DatabaseRecord& record, std::istream& in, MoneyList& list);
void ReadDispatchIntList(const DatabaseRecord& record, std::istream& in, IntList& list);

void WriteDispatchMoney(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const Money& money, uint16_t fieldId);
void WriteDispatchDouble(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, double value, uint16_t fieldId);
void WriteDispatchStringList(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const StringList& list, uint16_t fieldId);
void WriteDispatchMoneyList(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const MoneyList& list, uint16_t fieldId);
void WriteDispatchIntList(
    DatabaseRecord& record, bool pendingOnly, std::ostream& out, const IntList& list, uint16_t fieldId);
