// Text from a collection or a file name, made safe to print on a terminal: control characters
// would otherwise retitle or clear the terminal, move the cursor or forge lines of output.
#pragma once

#include <string>

class CTerminalText {
public:
    // Control characters (C0, DEL and C1) and bytes that are not UTF-8 become visible escapes
    // (\n, \t, \r, \x1b, \u009b, \xff); a backslash becomes \\ so that no escape can be
    // forged. Everything else is kept.
    static std::string Escape(const std::string& text);
};
