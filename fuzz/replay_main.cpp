// Replays saved inputs through a fuzz target's entry points without
// libFuzzer, so that the seed corpus and every kept crash input run in each
// test build, its sanitizer build included, with g++ as well as clang.
//
//   fuzz_replay_<target> FOLDER... [--optional FOLDER]...
//
// Every file in a folder is one input, replayed in name order (files whose
// name starts with a dot are left out). A folder must exist and hold at
// least one input, except one named after --optional: a target that has
// never crashed has no regressions folder. A broken rule aborts right after
// the line that names its input.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
// Optional in a target, as under libFuzzer.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int *argc, char ***argv);

namespace {

// Each input goes in on a heap block of exactly its size, as libFuzzer
// hands it over, so that the sanitizers see a read one past its end.
bool replay(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return false;
    }
    std::fprintf(stderr, "replaying %s (%lld bytes)\n", qPrintable(path),
                 static_cast<long long>(bytes.size()));
    const std::size_t size = std::size_t(bytes.size());
    const auto data = std::make_unique<std::uint8_t[]>(size);
    if (size != 0)
        std::memcpy(data.get(), bytes.constData(), size);
    LLVMFuzzerTestOneInput(data.get(), size);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);

    int replayed = 0;
    bool ok = true;
    bool optional = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--optional") == 0) {
            optional = true;
            continue;
        }
        const QString folder = QFile::decodeName(argv[i]);
        const bool mayBeMissing = optional;
        optional = false;
        if (!QFileInfo(folder).isDir()) {
            if (mayBeMissing)
                continue;
            std::fprintf(stderr, "no folder %s\n", qPrintable(folder));
            ok = false;
            continue;
        }
        const QFileInfoList inputs = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
        if (inputs.isEmpty() && !mayBeMissing) {
            std::fprintf(stderr, "no inputs in %s\n", qPrintable(folder));
            ok = false;
        }
        for (const QFileInfo &input : inputs) {
            if (replay(input.filePath()))
                ++replayed;
            else
                ok = false;
        }
    }
    if (optional) {
        std::fprintf(stderr, "--optional names no folder\n");
        ok = false;
    }
    std::fprintf(stderr, "%d inputs replayed\n", replayed);
    return ok && replayed > 0 ? 0 : 1;
}
