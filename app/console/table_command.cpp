#include <cstdio>

#include "app/console/commands.h"

namespace tc101::console {

int RunTable(Words) {
    std::fprintf(stderr, "tc101tool table: not built yet\n");
    return 1;
}

}  // namespace tc101::console
