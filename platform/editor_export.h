#pragma once

#include <functional>
#include <string>

namespace ristemo::platform {

// Hands a text to a newly started plain-text editor. Returns at once; the text may still be on
// its way when it returns. A failure (no usable editor, the editor's window never took the
// focus, the focus lost while typing) is reported once through on_failure, with an Italian
// message, on the GUI thread, possibly before export_text returns.
class EditorExport {
public:
    using FailureHandler = std::function<void(const std::string& message)>;
    virtual ~EditorExport() = default;
    // text: UTF-8, lines each ended by CR LF.
    virtual void export_text(const std::string& text, FailureHandler on_failure) = 0;
};

}  // namespace ristemo::platform
