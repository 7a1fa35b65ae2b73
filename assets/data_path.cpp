#include "assets/data_path.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace {

bool isThere(const fs::path& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

// Empty if the system cannot tell where the executable lies.
fs::path installedDataDir() {
    const fs::path folder = platform::executableFolder();
    if (folder.empty()) {
        return {};
    }
    return (folder / SKYHUNT_DATA_FROM_GAME).lexically_normal();
}

} // namespace

std::string findDataFile(const char* name) {
    if (isThere(name)) {
        return name;
    }
    std::vector<fs::path> folders;
    const char* chosen = std::getenv(dataDirVariable);
    const bool isChosen = chosen != nullptr && *chosen != '\0';
    if (isChosen) {
        folders.emplace_back(chosen);
    }
    const fs::path installed = installedDataDir();
    if (!installed.empty()) {
        folders.push_back(installed);
    }
    for (const fs::path& folder : folders) {
        if (isThere(folder / name)) {
            return (folder / name).string();
        }
    }

    std::string searched = "the working directory, $" + std::string(dataDirVariable) +
                           (isChosen ? " (" + std::string(chosen) + ")" : " (not set)");
    if (!installed.empty()) {
        searched += ", " + installed.string();
    }
    std::fprintf(stderr, "skyhunt: %s is in none of: %s\n", name, searched.c_str());
    return name;
}
