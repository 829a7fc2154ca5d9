// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/report/calculationreport.h"

#include <vector>

namespace kelsa
{

// The report's section «Проверка несущей способности»: the catalogue's file, the governing
// moment, the type and how it was found, Mн with where it applies and its source, the
// utilisation of every moment on the labels (a stale one named and left out) and the verdict;
// without a usable catalogue, why there is none. Numbers in the calculation's separator.
void appendSupportCheck(std::vector<ReportBlock> &blocks, const ReportInput &input);

} // namespace kelsa
