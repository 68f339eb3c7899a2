// Build-time helper: writes the window's icon as PNG files for the desktop's
// icon theme, so that the launcher shows the same picture the window does.
//   wavesift_icontool <size> <file.png> [<size> <file.png> ...]
#include "app/icon.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s <size> <file.png> ...\n", argv[0]);
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || !ws::drawIcon(size).save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
