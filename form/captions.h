#pragma once

namespace ristemo::form {

// The caption under each input box, in Text1 index order: Label1[i] stands under Text1[i] and
// names it, on screen and to screen readers.
inline constexpr const char* kLabel1Captions[4] = {"creatinina", "peso (kg)", "et\u00e0 (anni)",
                                                   "altezza (m)"};

// The caption beside each result box, in Label3 index order: Label2[i] names Label3[i].
inline constexpr const char* kLabel2Captions[5] = {"clearance  creatinina stimata",
                                                   "body mass index", "peso ideale e scostamento",
                                                   "superficie corporea", "stima massa magra"};

// The accessible name of an input box: its caption.
inline constexpr const char* Text1_accessible_name(int index) {
    return kLabel1Captions[index];
}

}  // namespace ristemo::form
