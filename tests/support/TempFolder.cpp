#include "support/TempFolder.h"

#include <random>
#include <stdexcept>
#include <system_error>

std::filesystem::path NewTempFolder(const std::string& prefix)
{
    std::random_device entropy;
    std::mt19937_64 names(static_cast<uint64_t>(entropy()) << 32 | entropy());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder = base / (prefix + std::to_string(names()));
        std::error_code error;
        if (std::filesystem::create_directory(folder, error))
            return folder;
    }
    throw std::runtime_error("no temporary folder could be made in " + base.u8string());
}
