#include <cstdio>

#include "app/console/commands.h"

namespace tc101::console {

int RunAnalyse(Words) {
    std::fprintf(stderr, "tc101tool analyse: not built yet\n");
    return 1;
}

}  // namespace tc101::console
