// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/tables/tablecatalogue.h"

#include <array>
#include <cstddef>
#include <vector>

namespace kelsa
{

// A record a calculation keeps for a table that now holds fewer records.
struct RecordBeyondTable {
    std::size_t table; // in the order of the catalogue
    int record; // as kept, from 1
    int count; // how many records the table holds now

    friend bool operator==(const RecordBeyondTable &, const RecordBeyondTable &) = default;
};

using TableRecords = std::array<int, kReferenceTableCount>;

// The records of a calculation fitted to the tables as they are now.
struct FittedRecords {
    // The record each table shows, from 1: the kept one, or the table's last where the kept
    // one lies beyond it (0 for a table without records). A table that could not be read
    // keeps its record: there is nothing to show and nothing to check.
    TableRecords shown {};
    std::vector<RecordBeyondTable> beyond; // in the order of the catalogue
};

// `counts` holds each table's number of records now, -1 for a table that could not be read.
FittedRecords fitRecords(const TableRecords &kept, const TableRecords &counts);

} // namespace kelsa
