// Scan files read twice: once as the program reads them, plain data lines
// taken by their shortcut, and once with every line read by the general
// rules. Whatever the bytes, both give the same scan to the bit or stop at
// the same line for the same reason in the same words.
#include "fuzzcheck.h"
#include "scan/scanfile.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

// Bit for bit: a level of -0 must not turn into 0.
bool sameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void checkSame(const ws::ScanData &a, const ws::ScanData &b)
{
    WS_FUZZ_REQUIRE(sameBits(a.first, b.first) && sameBits(a.last, b.last));
    WS_FUZZ_REQUIRE(sameBits(a.maxLevel, b.maxLevel) && sameBits(a.minLevel, b.minLevel));
    WS_FUZZ_REQUIRE(a.lnb.code == b.lnb.code && a.layout.code == b.layout.code);
    WS_FUZZ_REQUIRE(a.lnbCode == b.lnbCode);
    WS_FUZZ_REQUIRE(a.wroteCellZero == b.wroteCellZero);
    WS_FUZZ_REQUIRE(std::memcmp(a.levels.data(), b.levels.data(), sizeof a.levels) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const ws::ScanParse fast = ws::parseScan(bytes);
    const ws::ScanParse general = ws::parseScanGenerally(bytes);
    WS_FUZZ_REQUIRE(fast.value.has_value() == general.value.has_value());
    if (fast.value) {
        checkSame(*fast.value, *general.value);
        return 0;
    }
    WS_FUZZ_REQUIRE(fast.failure.kind == general.failure.kind);
    WS_FUZZ_REQUIRE(fast.failure.reason.line == general.failure.reason.line);
    WS_FUZZ_REQUIRE(fast.failure.reason.what == general.failure.reason.what);
    return 0;
}
