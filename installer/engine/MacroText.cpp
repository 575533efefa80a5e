#include <string.h>

#include "ScriptText.h"

std::string ExpandMacroText(const std::string& text, CMacroSource& source)
{
    std::string expanded;
    for (size_t p = 0; p < text.size(); p++) {
        char letter = p + 1 < text.size() ? text[p + 1] : 0;
        if (letter >= 'A' && letter <= 'Z')
            letter = (char)(letter - 'A' + 'a');
        if (text[p] != '%' || letter == 0 || strchr("diptswm", letter) == nullptr) {
            expanded += text[p];
            continue;
        }
        expanded += source.GetMacroText(letter);
        // Directories may come with a trailing backslash; the script writes
        // its own behind the macro.
        if (!expanded.empty() && expanded.back() == '\\')
            expanded.pop_back();
        p++;
    }
    return expanded;
}
