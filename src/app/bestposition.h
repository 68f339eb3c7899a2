#pragma once

#include "history/ranking.h"
#include "history/scanrow.h"

#include <QString>

#include <vector>

namespace ws {

// The best position of the ranking in words, for beside it: its file, when
// it was taken, its mean level and its lead over the next; empty without a
// ranking.
QString bestPositionWords(const std::vector<ScanRow> &rows, const Ranking &ranking);

} // namespace ws
