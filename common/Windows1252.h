#pragma once
// The one boundary of the suite's 8-bit texts. INI files, dictionaries, game.ini and bank lines
// hold Windows-1252 on disk; in memory every text is UTF-8, as the forms and the file system
// take it. Readers decode a file's bytes with DecodeFileText, writers encode with
// EncodeFileText; nothing else converts.
#include <optional>
#include <string>
#include <string_view>

// A file's bytes as UTF-8. A UTF-8 byte-order mark at the start says the rest is UTF-8: the mark
// is dropped and the rest kept (where it is not valid UTF-8 after all, it is read as
// Windows-1252). Without the mark every byte is one Windows-1252 character; the five codes the
// code page leaves unassigned become the control characters of the same number, so every byte
// comes back unchanged when the text is written again.
std::string DecodeFileText(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text; FormatError naming `fileName` and the character when
// a character has no place in the code page. Bytes that are not valid UTF-8 are kept as they are.
std::string EncodeFileText(std::string_view text, std::string_view fileName);

// `text` with every letter of the code page in lower case: A-Z, the accented capitals (but the
// multiplication sign), and the capitals Š, Œ, Ž, Ÿ of its 0x80 row. The rule by which the suite
// compares names without regard to case (SameNameIgnoringCase).
std::string LowerCaseLetters(std::string_view text);

// The first character of a UTF-8 text that Windows-1252 cannot hold, for forms that refuse such
// a text when it is typed or chosen; nothing when all of it fits.
std::optional<std::string> CharacterOutsideWindows1252(std::string_view text);
