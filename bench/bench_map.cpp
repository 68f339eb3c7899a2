// The worst map a user may load: 1 MiB of 16384 map lines, read from a file
// in the page cache and cut into entries; target under 5 ms.
//
// The loads run one after another in one process, where the C library
// would hand the megabytes of each load back to the system and page them in
// afresh for the next, which a single load in the window never does; the
// heap is kept instead (M_TRIM_THRESHOLD, M_MMAP_THRESHOLD), unless
// --keep-allocator leaves the library's own choice.
#include "map/mapfile.h"

#include <cstring>

#include <malloc.h>

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A line of 62 characters in its columns, like the lines of a real map.
QByteArray mapLine(int i)
{
    const QByteArray ghz = QByteArray::number(10.7 + (i % 2000) / 1000.0, 'f', 3);
    const QByteArray line = QByteArray("Station ").append(QByteArray::number(i)).leftJustified(16, ' ')
        + QByteArray(24, '.') + "MPEG2   " + ghz + (i % 2 ? "H" : "V");
    return line.leftJustified(62, ' ');
}

void BM_ReadWorstMap(benchmark::State &state)
{
    QByteArray bytes;
    for (int i = 0; i < ws::kMaxMapLines; ++i)
        bytes += mapLine(i) + "\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("worst.map"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        state.SkipWithError("cannot write the map");
    file.close();
    for (auto _ : state) {
        const auto read = ws::readMapFile(path);
        if (!read.value) {
            state.SkipWithError("the map was refused");
            break;
        }
        const ws::MapData map = ws::parseMap(read.value->bytes);
        benchmark::DoNotOptimize(map.entries.constData());
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}
BENCHMARK(BM_ReadWorstMap)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    int kept = 0;
    bool allocator = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep-allocator") == 0)
            allocator = true;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    if (!allocator) {
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        mallopt(M_MMAP_THRESHOLD, 64 << 20);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
