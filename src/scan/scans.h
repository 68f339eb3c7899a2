#pragma once

#include "scan/scanfile.h"

#include <optional>

// The two scans the window compares: the newest one and a reference to
// compare it with. A slot stays empty until a file has been read into it
// completely, and a load replaces a slot whole or not at all.
namespace ws {

enum class ScanSlot { Newest, Reference };

struct Scans
{
    std::optional<ScanData> newest;
    std::optional<ScanData> reference;

    std::optional<ScanData> &operator[](ScanSlot slot)
    {
        return slot == ScanSlot::Newest ? newest : reference;
    }
    const std::optional<ScanData> &operator[](ScanSlot slot) const
    {
        return slot == ScanSlot::Newest ? newest : reference;
    }

    bool bothLoaded() const { return newest && reference; }

    // Puts a completely read scan into its slot. Cell 0 of each table is the
    // exception to "whole": loads always left it alone, so it keeps its
    // earlier value (0 if never loaded) unless the new file wrote it.
    void load(ScanSlot slot, ScanData scan);
};

} // namespace ws
