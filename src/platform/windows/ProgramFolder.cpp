#include "platform/ProgramFolder.h"

#include <windows.h>

#include <vector>

std::filesystem::path ProgramFolder()
{
    // The path may be longer than MAX_PATH; the buffer grows until the whole of it fits.
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return std::filesystem::path(path.data(), path.data() + length).parent_path();
        path.resize(path.size() * 2);
    }
}
