#pragma once

#include "platform/editor_export.h"
#include "platform/locale_query.h"
#include "platform/message_box.h"
#include "platform/printer.h"
#include "platform/regional_settings.h"
#include "platform/shell_open.h"

namespace ristemo::ui {

// The platform services the window uses; tests pass fakes.
struct Services {
    platform::MessageBox& message_box;
    platform::LocaleQuery& locale;
    platform::RegionalSettings& regional_settings;
    platform::Printer& printer;
    platform::EditorExport& editor;
    platform::ShellOpen& shell;
};

}  // namespace ristemo::ui
