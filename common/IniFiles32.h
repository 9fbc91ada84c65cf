#pragma once
// TIniFile32: the suite's own INI file class, used for every settings file and dictionary.
//
// The whole file is read at creation; reads and writes work on the kept lines in memory.
// Callers create an object on a path, read or write a few keys, then destroy it:
//
//     TIniFile32 ini(path);
//     ini.WriteInteger("Config", "Renderer", mode);
//     ini.Destroy();   // writes the file whole when something was written; throws OrmelError
//
// Writes reach the disk only through Destroy(). Readers hold a const object; an object that is
// not const is a writer, and its last use is Destroy(). A writer dropped without it aborts a
// debug build, naming the file.
//
// The file is Windows-1252 text on disk (or UTF-8 after a byte-order mark) and UTF-8 in memory:
// every read and written text is UTF-8. A written key or value is one line: line breaks in it
// become blanks.
//
// Format as read: lines end at CR LF, LF or CR; a NUL ends the text. Each line is trimmed of
// codes 0..32; empty lines and lines starting with ";" are dropped (and so lost on a rewrite).
// "[name]" lines are section headers, found without regard to case; every other line is a key
// line "key=value" (key and value trimmed; keys compared exactly). Written form: the kept lines,
// each followed by CR LF.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TIniFile32 {
public:
    // Create: reads the file when it exists (throws IoError when it exists but cannot be read);
    // a missing file gives an empty object.
    explicit TIniFile32(std::string fileName);
    // Releases the object; it never writes. Call Destroy() to save what was written.
    ~TIniFile32();
    TIniFile32(const TIniFile32&) = delete;
    TIniFile32& operator=(const TIniFile32&) = delete;

    // Destroy: when a write happened, writes the file (temporary file, then rename), so a failure
    // leaves the old file whole and throws to the caller: IoError, or FormatError naming the file
    // and a character Windows-1252 cannot hold. Only the first call writes.
    void Destroy();

    std::string ReadString(const std::string& Section, const std::string& Key, const std::string& Default) const;
    std::int32_t ReadInteger(const std::string& Section, const std::string& Key, std::int32_t Default) const;
    double ReadFloat(const std::string& Section, const std::string& Key, double Default) const;

    void WriteString(const std::string& Section, const std::string& Key, const std::string& Value);
    void WriteInteger(const std::string& Section, const std::string& Key, std::int32_t Value);
    void WriteFloat(const std::string& Section, const std::string& Key, double Value);

    // The file's bytes as Destroy() writes them; throws FormatError for a character
    // Windows-1252 cannot hold.
    std::string FileBytes() const;

    bool Modified = false;
    bool AutoSave = false;
    const std::string FileName;
    std::vector<std::string> Lines;
    std::vector<std::pair<std::string, int>> Sections;

private:
    void LoadFromFile();
    void UpdateFile();
    int SectionLineIndex(const std::string& section) const;
};

// Line helpers of the format, shared with tests.
std::string TrimControl(std::string_view text);
std::string KeyOfLine(const std::string& line);
std::string ValueOfLine(const std::string& line, const std::string& key);
bool IsSectionLine(const std::string& line);
