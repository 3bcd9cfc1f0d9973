#pragma once

#include <string>

// What the editor export says when it fails, and how long it waits, the same on every system.
// editor: the editor's name as the user knows it ("gedit", "Notepad").
namespace ristemo::platform::editor_text {

// How long a newly started editor has to show the window or text area that receives the text.
// Closing the calculator waits for an export under way at most this long. On a busy computer an
// editor's first window took up to 4.6 s: three times that, and more for a cold start from disk.
constexpr int kWindowTimeoutMs = 30000;

inline std::string not_started(const std::string& editor) {
    return "Impossibile avviare l'editor di testo " + editor + ".";
}
inline std::string text_not_delivered(const std::string& editor) {
    return "L'editor di testo " + editor + " non ha ricevuto il testo.";
}
inline std::string window_not_ready(const std::string& editor) {
    return "La finestra dell'editor di testo " + editor +
           " non \u00e8 comparsa in tempo: il testo non \u00e8 stato scritto.";
}
inline std::string editor_closed(const std::string& editor) {
    return "L'editor di testo " + editor + " si \u00e8 chiuso prima di ricevere il testo.";
}
// The new editor passed its document to a window of its own that was already open, where the new
// document cannot be told for certain from the user's.
inline std::string handed_over(const std::string& editor) {
    return "L'editor di testo " + editor +
           " ha aperto il nuovo documento in una sua finestra gi\u00e0 aperta: per non toccare "
           "i documenti aperti, il testo non \u00e8 stato inserito. Chiudere " +
           editor + " e ripetere il comando.";
}
// The new window holds documents it reopened, or its only document is not empty.
inline std::string not_a_new_document(const std::string& editor) {
    return "La finestra dell'editor di testo " + editor +
           " non contiene solo un documento nuovo e vuoto (ha riaperto documenti precedenti): "
           "per non modificarli il testo non \u00e8 stato scritto.";
}

}  // namespace ristemo::platform::editor_text
