// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/document/recordfit.h"

namespace kelsa
{

FittedRecords fitRecords(const TableRecords &kept, const TableRecords &counts)
{
    FittedRecords fitted;
    for (std::size_t t = 0; t < kept.size(); ++t) {
        fitted.shown[t] = kept[t];
        if (counts[t] >= 0 && kept[t] > counts[t]) {
            fitted.shown[t] = counts[t];
            fitted.beyond.push_back({ t, kept[t], counts[t] });
        }
    }
    return fitted;
}

} // namespace kelsa
