// INI files and dictionaries: any bytes parse, every lookup and write stays in bounds, and a
// rewritten file reads back to the same values.
#include "Errors.h"
#include "FileResolver.h"
#include "FuzzSupport.h"
#include "IniFiles32.h"
#include "LocalisationUnit.h"
#include "SafeWrite.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::filesystem::path& folder = FuzzFolder("ini");
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    WriteFileAtomically(folder / "Fuzz.dic", bytes);

    LoadDictionary("Fuzz.dic");
    TIniFile32 ini((folder / "Fuzz.dic").string());
    const std::string section = ini.Sections.empty() ? "Config" : ini.Sections.front().first.substr(1, ini.Sections.front().first.size() - 2);
    const std::string key = ini.Lines.size() > 1 ? KeyOfLine(ini.Lines[1]) : "Language";
    const std::string before = ini.ReadString(section, key, "");
    ini.ReadInteger(section, key, 0);
    ini.ReadFloat(section, key, 0);
    ini.WriteString(section, "Fuzz", "1");
    ini.WriteString("New", key, "2");
    try {
        ini.Destroy();
    } catch (const FormatError&) {
        return 0; // a text after a UTF-8 mark that Windows-1252 cannot hold: refused
    }

    // Section names are found without regard to case: a section "new" is the one written above.
    const TIniFile32 again((folder / "Fuzz.dic").string());
    FuzzCheck(key.empty() || key == "Fuzz" || SameNameIgnoringCase(section, "New") ||
              again.ReadString(section, key, "") == before);
    return 0;
}
