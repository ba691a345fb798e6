#pragma once

#include <string>
#include <vector>

namespace pagora {

class TWindowLayoutEditor;

// Opens the layout editor as a command dialog does: sets the fields named
// by KEY=VALUE arguments (the field names; numbers, 1 or 0 for switches,
// colour texts for colours, UTF-8 texts), runs Execute (the steps after
// this one run inside the editor) and prints one line with whether it
// showed and the fields it hands back. Throws StepError for an unknown
// field or a value that does not suit it, before anything is set.
void runLayoutEditorStep(TWindowLayoutEditor& editor, const std::vector<std::string>& assignments);

} // namespace pagora
