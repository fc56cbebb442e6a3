#include "run/VantryBase.h"

#include <algorithm>
#include <cctype>

#include "VelkLib/VelkDirectory.h"
#include "VelkLib/VelkError.h"
#include "VelkLib/VelkPath.h"
#include "VelkLib/VelkTokenizer.h"
#include "VelkLib/VelkVersion.h"
#include "platform/TerminalText.h"

namespace {

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The built-in defaults, in one place.
const char* const defaultExtensions[] = {"c", "cpp", "cxx", "cc", "h", "hpp", "hxx", "cs", "java"};
const std::pair<const char*, int> defaultLanguages[] = {
    {"java", 2}, {"cs", 1}, {"c", 0}, {"cpp", 0}, {"cxx", 0},
    {"cc", 0},   {"h", 0},  {"hpp", 0}, {"hxx", 0}};
// The names of each language, the one the settings write first.
const char* const csharpWords[] = {"csharp", "c#", "cs", "c_sharp"};
// C++ is what any other word gives; these say so by name.
const char* const cppWords[] = {"cpp", "c++"};
const char* const javaWords[] = {"java"};

// The pairs of a language list: extension and word, both lower-cased.
std::vector<std::pair<std::string, std::string>> languagePairs(const std::string& list) {
    std::vector<std::pair<std::string, std::string>> pairs;
    VelkTokenizer tokenizer(list, ",");
    while (tokenizer.hasMoreTokens()) {
        std::string pair = tokenizer.nextToken('\0', '\0');
        if (pair.empty()) continue;
        std::string::size_type equals = pair.find('=');
        pairs.emplace_back(lowerCase(pair.substr(0, equals)),
                           equals == std::string::npos ? "" : lowerCase(pair.substr(equals + 1)));
    }
    return pairs;
}

}  // namespace

VantryBase::~VantryBase() = default;

void VantryBase::setFileExtensions(const std::string& list) { extensions = parseFileExtensions(list); }

std::set<std::string> VantryBase::parseFileExtensions(const std::string& list) {
    std::set<std::string> parsed;
    VelkTokenizer tokenizer(list, ",");
    while (tokenizer.hasMoreTokens()) {
        std::string entry = tokenizer.nextToken('\0', '\\');
        if (entry.empty()) continue;
        if (entry[0] == '.') entry.erase(0, 1);
        else if (entry.size() > 2 && entry.compare(0, 2, "*.") == 0) entry.erase(0, 2);
        if (!entry.empty()) parsed.insert(entry);
    }
    return parsed;
}

void VantryBase::setDefaultFileExtensions() {
    if (!extensions.empty()) return;
    extensions.insert(std::begin(defaultExtensions), std::end(defaultExtensions));
}

std::set<std::string> VantryBase::defaultFileExtensions() {
    return {std::begin(defaultExtensions), std::end(defaultExtensions)};
}

bool VantryBase::extensionCanMatch(const std::string& extension) {
    return !extension.empty() && extension.find_first_of("/\\*?") == std::string::npos &&
           extension.front() != '.' && extension.back() != '.' &&
           extension.find("..") == std::string::npos;
}

std::string VantryBase::unusableExtensionsText(const std::string& list) {
    std::vector<std::string> unusable;
    VelkTokenizer tokenizer(list, ",");
    while (tokenizer.hasMoreTokens()) {
        std::string entry = tokenizer.nextToken('\0', '\\');
        for (const std::string& extension : parseFileExtensions(entry)) {
            std::string named = "\"" + terminalText(entry) + "\"";
            if (!extensionCanMatch(extension) &&
                std::find(unusable.begin(), unusable.end(), named) == unusable.end())
                unusable.push_back(named);
        }
    }
    if (unusable.empty()) return "";
    std::string named = unusable.front();
    for (std::size_t i = 1; i < unusable.size(); ++i)
        named += (i + 1 == unusable.size() ? " and " : ", ") + unusable[i];
    return (unusable.size() == 1 ? "The extension " : "The extensions ") + named +
           " cannot end a file name; give extensions such as cpp,h,java.";
}

void VantryBase::setLanguageMap(const std::string& list) {
    languageMap.clear();
    for (const auto& [extension, word] : languagePairs(list)) {
        int language = 0;
        if (std::find(std::begin(javaWords), std::end(javaWords), word) != std::end(javaWords))
            language = 2;
        else if (std::find(std::begin(csharpWords), std::end(csharpWords), word) !=
                 std::end(csharpWords))
            language = 1;
        languageMap[extension] = language;
    }
}

std::string VantryBase::unknownLanguagesText(const std::string& list) {
    auto known = [](const std::string& word) {
        auto in = [&word](const auto& words) {
            return std::find(std::begin(words), std::end(words), word) != std::end(words);
        };
        return word.empty() || in(javaWords) || in(csharpWords) || in(cppWords);
    };
    std::vector<std::string> words;
    std::vector<std::string> extensions;
    for (const auto& [extension, word] : languagePairs(list)) {
        if (known(word)) continue;
        if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
        if (std::find(extensions.begin(), extensions.end(), extension) == extensions.end())
            extensions.push_back(extension);
    }
    if (words.empty()) return "";
    auto joined = [](const std::vector<std::string>& items, bool quoted) {
        std::string text;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
            text += quoted ? "\"" + terminalText(items[i]) + "\"" : terminalText(items[i]);
        }
        return text;
    };
    auto names = [](const auto& words) {
        std::string text = words[0];
        for (std::size_t i = 1; i < std::size(words); ++i) text += (i == 1 ? " (or " : ", ") + std::string(words[i]);
        return std::size(words) > 1 ? text + ")" : text;
    };
    return (words.size() == 1 ? "The language " : "The languages ") + joined(words, true) +
           (words.size() == 1 ? " is" : " are") + " not known; " + joined(extensions, false) +
           (extensions.size() == 1 ? " is" : " are") + " read as C++. The languages are " +
           names(cppWords) + ", " + names(csharpWords) + " and " + names(javaWords) + ".";
}

void VantryBase::setDefaultLanguageMap() {
    if (!languageMap.empty()) return;
    for (const auto& [extension, language] : defaultLanguages) languageMap[extension] = language;
}

std::string VantryBase::modulesDirectory() const {
    if (!moduleDirectory.empty()) return moduleDirectory;
    return directoryOf(getModuleFileName(nullptr)) + "/modules";
}

std::vector<std::string> VantryBase::moduleNames() const {
    std::vector<std::string> files;
    try {
        files = VelkDirectory(modulesDirectory(), false).list("*.so", false, false);
    } catch (const VelkError&) {
        // A missing directory holds no modules.
    }
    for (std::string& file : files) file = file.substr(0, file.rfind('.'));
    std::sort(files.begin(), files.end());
    return files;
}

std::unique_ptr<DocModule> VantryBase::loadModule(const std::string& fileName,
                                                  std::vector<std::string>* refused) {
    auto module = std::make_unique<DocModule>(fileName);
    std::map<std::string, std::string> given;
    // Values for a module with options must not be spent on one without.
    if (!moduleOptions.empty() && module->hasOptions()) {
        DocModule::AppliedOptions applied = module->applyOptions(moduleOptions);
        given = std::move(applied.taken);
        if (refused != nullptr) refused->insert(refused->end(), applied.refused.begin(), applied.refused.end());
        moduleOptions.clear();
    }
    givenModuleOptions[module->getFileName()] = std::move(given);
    currentModule = module.get();
    return module;
}

std::map<std::string, std::string> VantryBase::currentModuleOptions() const {
    if (currentModule == nullptr) return {};
    auto found = givenModuleOptions.find(currentModule->getFileName());
    return found != givenModuleOptions.end() ? found->second : std::map<std::string, std::string>{};
}

void VantryBase::setCurrentModuleOption(const std::string& key, const std::string& value) {
    if (currentModule != nullptr) givenModuleOptions[currentModule->getFileName()][key] = value;
}

std::map<std::string, std::string> VantryBase::rememberedModuleOptions() const {
    std::map<std::string, std::string> all = moduleOptions;
    for (const auto& [file, values] : givenModuleOptions)
        for (const auto& [key, value] : values) all[key] = value;
    return all;
}

std::string abbreviatePath(const std::string& text) {
    if (text.size() <= 79) return text;
    std::string::size_type last = text.find_last_of("/\\");
    if (last == std::string::npos) return text.substr(0, 80) + " [...]";
    std::string::size_type cut = last;
    if (last > 0) {
        std::string::size_type before = text.find_last_of("/\\", last - 1);
        if (before != std::string::npos) cut = before;
    }
    return "[...] " + text.substr(cut + 1);
}

std::string programVersionText() {
    int major = 0, minor = 0, build = 0, revision = 0;
    getModuleVersion(nullptr, major, minor, build, revision);
    return std::to_string(major) + "," + std::to_string(minor) + "," + std::to_string(build) +
           "," + std::to_string(revision);
}
