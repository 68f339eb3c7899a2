#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The variables that every procedure of the window shares. A field that was
// never written reads as 0, false or "": value-initialisation gives exactly
// the "empty" of the original design. Where a flag takes part in arithmetic,
// asBasic() turns true into -1.
namespace ws {

constexpr int kSlots = 3;          // 0 = combined, 1 = newest scan, 2 = reference scan
constexpr int kMaxIf = 2150;       // highest intermediate frequency, MHz
constexpr int kLevelCells = kMaxIf + 1;
constexpr int kMapRows = 1025;     // row 0 is never written
constexpr int kMapColumns = 9;     // columns 1..4 carry data, 5..8 are only cleared
constexpr int kMaxMapEntries = kMapRows - 1;

using Levels = std::array<double, kLevelCells>;
// One level table: [slot][intermediate frequency].
using LevelTable = std::array<Levels, kSlots>;

template <typename T>
using PerSlot = std::array<T, kSlots>;

inline int asBasic(bool flag) { return flag ? -1 : 0; }

struct SharedState
{
    double runmax = 0;
    double runmin = 0;
    QString lastcheck;

    std::array<std::array<QString, kMapColumns>, kMapRows> mapdata;
    std::int16_t mapcount = 0;
    QString maptext;

    LevelTable hlow{};
    LevelTable vlow{};
    LevelTable hhigh{};
    LevelTable vhigh{};

    PerSlot<double> fstart{};
    PerSlot<double> fend{};
    PerSlot<double> smax{};
    PerSlot<double> smin{};

    PerSlot<std::int16_t> bandstart{};
    PerSlot<std::int16_t> bandend{};
    PerSlot<std::int16_t> fswitch{};
    PerSlot<std::int16_t> lolow{};
    PerSlot<std::int16_t> lohigh{};

    PerSlot<bool> hpol{};
    PerSlot<bool> vpol{};
    PerSlot<bool> inhigh{};
    PerSlot<bool> inlow{};

    PerSlot<QString> lnbcode;

    double ovstart = 0;
    double ovend = 0;
};

} // namespace ws
