#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "platform/linux/desktop_entry.h"
#include "platform/linux/open_with_dialog.h"
#include "platform/shell_open.h"

namespace ristemo::platform {

struct XdgShellOpenOptions {
    // Asks the user which program opens the address; by default the "Apri con" dialog.
    std::function<std::optional<OpenWithChoice>(const QString& address,
                                                const std::vector<DesktopEntry>& applications)>
        chooser;
    // How long xdg-open is watched, off the interface thread, for a failure before the launch
    // counts as done. It takes over a second to fail on a busy machine.
    int exit_wait_ms = 5000;
    // Longest wait for xdg-mime or xdg-settings to answer (a quarter of a second, well over one on
    // a busy machine); without an answer, xdg-open is tried.
    int query_timeout_ms = 5000;
    // Programs used, looked up in PATH unless given with a path.
    QString xdg_open = QStringLiteral("xdg-open");
    QString xdg_mime = QStringLiteral("xdg-mime");
    QString xdg_settings = QStringLiteral("xdg-settings");
};

// Opens addresses the freedesktop way: the user's default handler through xdg-open, or, without
// xdg-open, through Qt; the open-with fallback lists the desktop entries that show web pages.
class XdgShellOpen : public ShellOpen {
public:
    XdgShellOpen();
    explicit XdgShellOpen(XdgShellOpenOptions options);
    // Waits for the watches still running, so that none reports to an application that is gone.
    ~XdgShellOpen() override;
    XdgShellOpen(const XdgShellOpen&) = delete;
    XdgShellOpen& operator=(const XdgShellOpen&) = delete;

    std::int32_t shell_open(const std::string& address, LateFailure late_failure) override;
    std::int32_t open_with_dialog(const std::string& address) override;

private:
    bool has_associated_program(const QString& address) const;
    // The tool's answer (empty when it has none, or is not installed); nothing when it did not
    // answer in time.
    std::optional<QString> query(const QString& program, const QStringList& arguments) const;

    struct Watches;

    XdgShellOpenOptions options_;
    std::shared_ptr<Watches> watches_;
};

}  // namespace ristemo::platform
