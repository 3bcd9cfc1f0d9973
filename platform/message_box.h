#pragma once

#include <string>

namespace ristemo::platform {

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Icon { None, Question };
enum class Answer { Ok, Yes, No, Cancel };

// The modal message box through which every message and question passes. Texts are UTF-8 with
// CR LF line breaks. The title is always
// the application's ("ristemo"), the first button is the default, and closing the box without a
// choice answers Cancel (or No where there is no Cancel).
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual Answer show_message(const std::string& prompt, Buttons buttons, Icon icon) = 0;
};

}  // namespace ristemo::platform
