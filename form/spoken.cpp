#include "form/spoken.h"

#include "form/form1_design.h"

namespace ristemo::form {

std::string spoken_results(const std::array<std::string, 5>& label3) {
    std::string text;
    for (int i = 0; i < 5; ++i) {
        if (i > 0) text += ". ";
        text += find_control({Control::Label2, i})->caption;
        text += ' ';
        text += label3[std::size_t(i)];
    }
    return text;
}

std::string spoken_choice(int index) {
    return std::string(find_control({Control::Option1, index})->caption) + ", selezionato";
}

}  // namespace ristemo::form
