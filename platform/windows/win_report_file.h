#pragma once

#include <string>

namespace ristemo::platform {

// The report as a file for an editor to open: in a folder of its own, made for it in the user's
// temporary folder (which only the user can read), and gone with that folder once removed, so
// that an editor saving the document again later cannot put it back there unasked.
class ReportFile {
public:
    ReportFile() = default;
    ReportFile(ReportFile&& other) noexcept;
    ReportFile& operator=(ReportFile&& other) noexcept;
    ReportFile(const ReportFile&) = delete;
    ReportFile& operator=(const ReportFile&) = delete;
    // Leaves the file where it is: removing it is remove's job, told to the user when it fails.
    ~ReportFile() = default;

    // Writes text (UTF-8) with a byte-order mark, which every Notepad reads as UTF-8. On a
    // failure nothing is left and false is returned.
    bool write(const std::string& text);
    // Removes the file and then its folder; true once neither is there (also when never
    // written).
    bool remove();
    const std::wstring& path() const { return path_; }
    // What remove left: the file, or else its folder; empty when nothing is left.
    const std::wstring& left() const { return path_.empty() ? folder_ : path_; }

private:
    std::wstring folder_;
    std::wstring path_;
};

}  // namespace ristemo::platform
