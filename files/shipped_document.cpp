#include "files/shipped_document.h"

#include <system_error>

#include "files/app_paths.h"

#ifndef TC101_DOC_FROM_BIN
#define TC101_DOC_FROM_BIN "../share/doc/tc101tool"
#endif
#ifndef TC101_SOURCE_DIR
#define TC101_SOURCE_DIR "."
#endif

namespace tc101 {

std::filesystem::path FindShippedDocument(std::string_view name, const ShippedDocumentFolders& folders) {
    const std::filesystem::path source = folders.sourceFolder / name;
    if (folders.executableFolder.empty()) return source;
    for (const auto& candidate : {folders.executableFolder / folders.docFromExecutable / name,
                                  folders.executableFolder / name}) {
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error)) return candidate.lexically_normal();
    }
    return source;
}

std::filesystem::path ShippedDocument(std::string_view name) {
    return FindShippedDocument(name, {ExecutableFolder(), TC101_DOC_FROM_BIN, TC101_SOURCE_DIR});
}

}  // namespace tc101
