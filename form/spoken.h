#pragma once

#include <array>
#include <string>

// What a screen reader is told beyond the names of the controls it visits: texts both front-ends
// hand to assistive technology, UTF-8. Nothing here is shown on screen.
namespace ristemo::form {

// The name of the two sex options as one group.
inline constexpr const char* kOption1GroupName = "sesso";

// Said once a calculation has filled the result boxes, whose texts these are: each result after
// its caption, the clearance first.
std::string spoken_results(const std::array<std::string, 5>& label3);

// Said when the user picks the option Option1 index: which one, and that it is now selected.
std::string spoken_choice(int index);

}  // namespace ristemo::form
