#pragma once

#include <QString>

#include <array>
#include <cstdint>

// The map table that every procedure of the window shares. A field that was
// never written reads as 0 or "".
namespace ws {

constexpr int kMapRows = 1025;     // row 0 is never written
constexpr int kMapColumns = 9;     // columns 1..4 carry data, 5..8 are only cleared
constexpr int kMaxMapEntries = kMapRows - 1;

struct SharedState
{
    std::array<std::array<QString, kMapColumns>, kMapRows> mapdata;
    std::int16_t mapcount = 0;
    QString maptext;
};

} // namespace ws
