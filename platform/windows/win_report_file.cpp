#include "platform/windows/win_report_file.h"

#include <utility>

#include "platform/windows/win32.h"

namespace ristemo::platform {

namespace {

std::wstring two_digits(WORD n) {
    return std::wstring{wchar_t(L'0' + n / 10 % 10), wchar_t(L'0' + n % 10)};
}

// "Referto 2024-05-03 10.15.42.txt": the name the editor shows on the document's tab or title.
std::wstring file_name() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return L"Referto " + std::to_wstring(now.wYear) + L"-" + two_digits(now.wMonth) + L"-" +
           two_digits(now.wDay) + L" " + two_digits(now.wHour) + L"." + two_digits(now.wMinute) +
           L"." + two_digits(now.wSecond) + L".txt";
}

// A new folder in the user's temporary folder; empty when none could be made.
std::wstring new_folder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return {};
    // The first name free: another export's folder, or one a killed run left, keeps its own.
    for (int attempt = 1; attempt <= 100; ++attempt) {
        const std::wstring folder = std::wstring(temp) + L"Ristemo-" +
                                    std::to_wstring(GetCurrentProcessId()) + L"-" +
                                    std::to_wstring(attempt);
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    }
    return {};
}

}  // namespace

ReportFile::ReportFile(ReportFile&& other) noexcept
    : folder_(std::exchange(other.folder_, {})), path_(std::exchange(other.path_, {})) {}

ReportFile& ReportFile::operator=(ReportFile&& other) noexcept {
    folder_ = std::exchange(other.folder_, {});
    path_ = std::exchange(other.path_, {});
    return *this;
}

bool ReportFile::write(const std::string& text) {
    folder_ = new_folder();
    if (folder_.empty()) return false;
    path_ = folder_ + L"\\" + file_name();
    const HANDLE file = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    bool written = file != INVALID_HANDLE_VALUE;
    if (written) {
        const std::string bytes = "\xEF\xBB\xBF" + text;
        DWORD count = 0;
        written = WriteFile(file, bytes.data(), DWORD(bytes.size()), &count, nullptr) &&
                  count == bytes.size();
        written = CloseHandle(file) && written;
    }
    if (!written) remove();
    return written;
}

bool ReportFile::remove() {
    if (!path_.empty()) {
        if (!DeleteFileW(path_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
        path_.clear();
    }
    if (!folder_.empty()) {
        if (!RemoveDirectoryW(folder_.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
            GetLastError() != ERROR_PATH_NOT_FOUND)
            return false;
        folder_.clear();
    }
    return true;
}

}  // namespace ristemo::platform
