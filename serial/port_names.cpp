#include "serial/port_names.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>

#include "serial/tcp_port_name.h"

namespace tc101 {
namespace {

constexpr std::string_view kComPrefix = "COM";
constexpr std::string_view kBuiltInPrefix = "ttyS";
constexpr std::string_view kDevDir = "/dev/";
// serial_core reports type 0 (PORT_UNKNOWN) for a port slot with no UART.
constexpr std::string_view kUnknownUartType = "0";

std::optional<unsigned> NumberAfter(std::string_view text, std::string_view prefix, bool ignoreCase) {
    if (text.size() <= prefix.size()) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (ignoreCase && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != prefix[i]) {
            return std::nullopt;
        }
    }
    const char* first = text.data() + prefix.size();
    const char* last = text.data() + text.size();
    unsigned number = 0;
    auto [end, ec] = std::from_chars(first, last, number);
    if (ec != std::errc() || end != last) {
        return std::nullopt;
    }
    return number;
}

std::string ReadFirstLine(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// Natural order: "ttyUSB2" before "ttyUSB10".
bool NaturalLess(const std::string& a, const std::string& b) {
    std::size_t i = 0;
    std::size_t j = 0;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && isDigit(a[ei])) ++ei;
            while (ej < b.size() && isDigit(b[ej])) ++ej;
            std::string_view na = std::string_view(a).substr(i, ei - i);
            std::string_view nb = std::string_view(b).substr(j, ej - j);
            while (na.size() > 1 && na.front() == '0') na.remove_prefix(1);
            while (nb.size() > 1 && nb.front() == '0') nb.remove_prefix(1);
            if (na.size() != nb.size()) return na.size() < nb.size();
            if (na != nb) return na < nb;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

}  // namespace

std::optional<std::string> MissingDevice(const std::string& commName) {
    if (commName.empty() || IsTcpPortName(commName)) return std::nullopt;
    std::string path = DevicePathFor(commName);
    std::error_code error;
    if (std::filesystem::exists(path, error)) return std::nullopt;
    return path;
}

std::string DevicePathFor(const std::string& commName) {
    if (auto n = NumberAfter(commName, kComPrefix, true); n && *n >= 1) {
        return std::string(kDevDir) + std::string(kBuiltInPrefix) + std::to_string(*n - 1);
    }
    if (!commName.empty() && commName.front() == '/') {
        return commName;
    }
    return std::string(kDevDir) + commName;
}

std::vector<std::string> ListSerialPorts(const std::filesystem::path& sysClassTty,
                                         const std::filesystem::path& byIdDir) {
    namespace fs = std::filesystem;
    std::vector<unsigned> builtIn;
    std::vector<std::string> others;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(sysClassTty, ec)) {
        const std::string name = entry.path().filename().string();
        // Virtual terminals and ptys have no device behind them.
        if (!fs::exists(entry.path() / "device", ec)) {
            continue;
        }
        const fs::path typeFile = entry.path() / "type";
        if (fs::exists(typeFile, ec) && ReadFirstLine(typeFile) == kUnknownUartType) {
            continue;
        }
        if (auto n = NumberAfter(name, kBuiltInPrefix, false)) {
            builtIn.push_back(*n);
        } else {
            others.push_back(name);
        }
    }
    std::sort(builtIn.begin(), builtIn.end());
    std::sort(others.begin(), others.end(), NaturalLess);

    std::vector<std::string> byId;
    for (const auto& entry : fs::directory_iterator(byIdDir, ec)) {
        byId.push_back((byIdDir / entry.path().filename()).string());
    }
    std::sort(byId.begin(), byId.end());

    std::vector<std::string> ports;
    for (unsigned n : builtIn) {
        ports.push_back(std::string(kComPrefix) + std::to_string(n + 1));
    }
    ports.insert(ports.end(), others.begin(), others.end());
    ports.insert(ports.end(), byId.begin(), byId.end());
    return ports;
}

}  // namespace tc101
