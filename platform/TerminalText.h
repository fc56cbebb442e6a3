// Text from outside (a file name, a message naming one) shown on a
// terminal: a control character in it could move the cursor, clear the
// screen, set the window title or begin a line that looks like the
// program's own. Such characters are shown escaped instead.
#pragma once

#include <string>
#include <string_view>

// The text with every control character (below 0x20, 0x7F, and the C1
// controls U+0080 to U+009F in UTF-8) written as "\xHH" (C1 ones as
// "\u00HH"). With keepLineFeeds (a message of several lines) a line feed
// and a tab stay, and a carriage return before a line feed goes. Anything
// else, UTF-8 included, is kept.
std::string terminalText(std::string_view text, bool keepLineFeeds = false);
