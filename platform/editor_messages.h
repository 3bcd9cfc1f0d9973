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
// The report goes to Notepad as a file of its own, removed once Notepad shows it.
inline std::string report_not_written(const std::string& editor) {
    return "Impossibile scrivere il file temporaneo del referto per l'editor di testo " + editor +
           ": il comando non \u00e8 stato eseguito.";
}
inline std::string report_not_shown(const std::string& editor) {
    return "L'editor di testo " + editor +
           " non ha mostrato il referto in tempo: il file temporaneo del referto \u00e8 stato "
           "eliminato.";
}
// path: where the report is left, for the user to remove.
inline std::string report_not_removed(const std::string& editor, const std::string& path) {
    return "Il file temporaneo del referto non \u00e8 stato eliminato: " + path +
           ". Eliminarlo dopo aver chiuso il referto in " + editor + ".";
}

}  // namespace ristemo::platform::editor_text
