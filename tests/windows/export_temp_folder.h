#pragma once

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace ristemo::platform {

// A folder of the test's own in the user's temporary folder, made anew, at which TMP and TEMP
// (where the editor export writes its files) point while it lives; removed with all it holds,
// and TMP and TEMP given back, after.
class ExportTempFolder {
public:
    explicit ExportTempFolder(const std::wstring& name) {
        root_ = std::filesystem::temp_directory_path() /
                (name + L"-" + std::to_wstring(GetCurrentProcessId()));
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
        std::filesystem::create_directories(temp(), ignored);
        for (auto& v : saved_) {
            if (GetEnvironmentVariableW(v.name, v.value, MAX_PATH) == 0) v.value[0] = L'\0';
            SetEnvironmentVariableW(v.name, temp().c_str());
        }
    }
    ~ExportTempFolder() {
        for (auto& v : saved_) SetEnvironmentVariableW(v.name, *v.value ? v.value : nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    ExportTempFolder(const ExportTempFolder&) = delete;
    ExportTempFolder& operator=(const ExportTempFolder&) = delete;

    // Where the export's files go.
    std::filesystem::path temp() const { return root_ / L"temp"; }
    // Beside it, for other files of the test.
    const std::filesystem::path& root() const { return root_; }

    // What is left under temp(), as paths below it, in order.
    std::vector<std::wstring> left() const {
        std::vector<std::wstring> found;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(temp()))
            found.push_back(entry.path().lexically_relative(temp()).wstring());
        std::sort(found.begin(), found.end());
        return found;
    }

private:
    std::filesystem::path root_;
    struct Saved {
        const wchar_t* name;
        wchar_t value[MAX_PATH];
    } saved_[2] = {{L"TMP", {}}, {L"TEMP", {}}};
};

}  // namespace ristemo::platform
