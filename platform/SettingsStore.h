// The per-user settings store: named integer and text values in sections,
// remembered between runs of the program.
//
// Value names and section names are matched without regard to letter case.
// Writes change the store in memory; save() makes them lasting. The real
// store is an INI file; tests use the in-memory store.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

class SettingsStore {
public:
    virtual ~SettingsStore();

    // The stored text, or nullopt when the value is not stored.
    virtual std::optional<std::string> readText(const std::string& section,
                                                const std::string& name) const = 0;

    // Replaces (or adds) the value.
    virtual void writeText(const std::string& section, const std::string& name,
                           const std::string& text) = 0;

    // Makes every write so far lasting. Returns true on success; false with
    // *errorText (when not null) saying why otherwise, the lasting copy then
    // being what it was before the call.
    virtual bool save(std::string* errorText) = 0;

    // The stored text, or defaultText when the value is not stored.
    std::string getString(const std::string& section, const std::string& name,
                          const std::string& defaultText) const;

    // The stored value read as a decimal integer (an optional sign and at
    // least one digit, nothing else, within the range of int), or
    // defaultValue when it is not stored or cannot be read so.
    int getInt(const std::string& section, const std::string& name, int defaultValue) const;

    void writeInt(const std::string& section, const std::string& name, int value);
};

// Sections of values, names matched without regard to case, first spelling
// kept, in the order they were first written. Shared by both stores.
class SettingsTable {
public:
    const std::string* find(const std::string& section, const std::string& name) const;
    void set(const std::string& section, const std::string& name, const std::string& text);

    // The INI text: "[Section]" lines, then "Name=value" lines with "\\",
    // carriage return and line feed in values written as "\\\\", "\\r" and
    // "\\n"; sections separated by an empty line.
    std::string toIni() const;

    // Reads the INI text written by toIni. Lines beginning with ";" or "#",
    // blank lines and lines outside any section are skipped; a line without
    // "=" is skipped; blanks around a name are dropped, the value is kept as
    // it stands after the "=" (escapes undone; an unknown escape keeps its
    // backslash). A later value of the same name replaces an earlier one.
    static SettingsTable fromIni(const std::string& text);

private:
    struct Value {
        std::string name;
        std::string text;
    };
    struct Section {
        std::string name;
        std::vector<Value> values;
        std::unordered_map<std::string, std::size_t> index;  // folded name -> value
    };
    Section* findSection(const std::string& section);
    const Section* findSection(const std::string& section) const;

    std::vector<Section> sections;
    std::unordered_map<std::string, std::size_t> sectionIndex;  // folded name -> section
};

// Escapes a value for the INI file, and undoes it.
std::string escapeSettingsValue(const std::string& text);
std::string unescapeSettingsValue(const std::string& text);

// The store as an INI file.
class IniSettingsStore : public SettingsStore {
public:
    // Reads the file when it exists; a missing or unreadable file gives an
    // empty store (every value then reads as its default). A path that is
    // not a regular file (a FIFO, a directory), or holds more than
    // kSettingsFileLimit bytes, is not read: a warning naming it goes to
    // standard error. Never throws.
    explicit IniSettingsStore(std::string path);

    static constexpr std::size_t kSettingsFileLimit = 4u << 20;

    std::optional<std::string> readText(const std::string& section,
                                        const std::string& name) const override;
    void writeText(const std::string& section, const std::string& name,
                   const std::string& text) override;

    // Creates the file's directory when missing (mode 0700), writes the whole
    // store to a new file beside the old one (mode 0600), flushes it to disk
    // and renames it over the old one, so a crash or a failure leaves either
    // the old or the new file whole, never a mix. Fails with the system's
    // text, naming the file.
    bool save(std::string* errorText) override;

    const std::string& getPath() const { return path; }

private:
    std::string path;
    SettingsTable table;
};

// The store in memory, for tests: save() answers what saveResult says and
// counts its calls.
class MemorySettingsStore : public SettingsStore {
public:
    std::optional<std::string> readText(const std::string& section,
                                        const std::string& name) const override;
    void writeText(const std::string& section, const std::string& name,
                   const std::string& text) override;
    bool save(std::string* errorText) override;

    bool saveResult = true;
    int saveCount = 0;
    int writeCount = 0;

private:
    SettingsTable table;
};

// ${XDG_CONFIG_HOME:-$HOME/.config}/<maker>/<application>.ini; an empty or
// relative XDG_CONFIG_HOME is ignored as the XDG rules ask. Returns "" when
// neither variable gives a directory.
std::string defaultSettingsPath(const std::string& maker, const std::string& application);

}  // namespace platform
