// The host's main window: remembered from FsExecuteFile, and asked to reread its panel after a
// Save so that the columns show the new state at once.
#pragma once

namespace qzr {

void RememberHostWindow(void* window);
// Posts Total Commander's "reread source" command to the remembered window. Any other host's
// window (or none) gets nothing: the message means something else, or nothing, there.
void RereadHostPanel();
// The remembered window (null before the host named one): what the plugin's prompts stand over.
void* HostWindow();

}  // namespace qzr
