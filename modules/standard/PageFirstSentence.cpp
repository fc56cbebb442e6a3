#include "modules/standard/PageFirstSentence.h"

#include "modules/standard/ModuleText.h"

namespace {

bool isAlnum(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::size_t earlier(std::size_t a, std::size_t b) { return a < b ? a : b; }

const char* const elementsToClose[] = {"i",    "b",   "a",          "u", "table",
                                       "code", "pre", "blockquote", "dl"};

}  // namespace

std::string firstSentence(const std::string& text, const std::string& skipWord) {
    const std::string lowered = toLowerCase(text);
    const std::size_t none = std::string::npos;

    std::size_t lineBreak = earlier(lowered.find("<br>"), lowered.find("<p>"));
    if (lineBreak == 0) lineBreak = earlier(lowered.find("<br>", 3), lowered.find("<p>", 3));
    std::size_t markupEnd = earlier(lineBreak, lowered.find("<dl>"));

    std::size_t dot = findOutsideQuotes(text, '.', 0, true, false);
    while (dot != none && dot + 1 < text.size() && text[dot + 1] >= '0' && text[dot + 1] <= '9')
        dot = findOutsideQuotes(text, '.', dot + 1, true, false);
    if (dot != none && !skipWord.empty() && dot >= skipWord.size() &&
        text.compare(dot - skipWord.size(), skipWord.size(), skipWord) == 0)
        dot = findOutsideQuotes(text, '.', dot + 1, true, false);

    std::size_t cut = dot == none ? none : dot + 1;
    if (markupEnd != none && (cut == none || markupEnd < cut)) cut = markupEnd;
    if (cut == none) return trim(text);

    while (cut + 1 < text.size() && text[cut] == '<' && text[cut + 1] == '/') {
        std::size_t close = text.find('>', cut);
        if (close == none) break;
        std::string name = lowered.substr(cut + 2, close - cut - 2);
        std::size_t open = lowered.find("<" + name + ">");
        if (open == none || open > cut) break;
        cut = close + 1;
    }

    std::string sentence = text.substr(0, cut);
    const std::string loweredCut = lowered.substr(0, cut);
    for (const char* element : elementsToClose)
        closeUnclosedTag(sentence, loweredCut, element, text, lowered);
    return trim(sentence);
}

void closeUnclosedTag(std::string& sentence, const std::string& loweredCut,
                      const std::string& element, const std::string& fullText,
                      const std::string& loweredFull) {
    // Every opening of the element counts, not just the first: "<b" of a
    // "<br>" must not hide a real "<b>" further on.
    std::size_t at = loweredCut.find("<" + element);
    while (at != std::string::npos) {
        std::size_t after = at + 1 + element.size();
        if (after >= loweredCut.size() || !isAlnum(loweredCut[after])) break;
        at = loweredCut.find("<" + element, after);
    }
    if (at == std::string::npos) return;
    const std::string closing = "</" + element + ">";
    if (loweredCut.find(closing) != std::string::npos) return;
    std::size_t close = loweredFull.find(closing);
    if (close != std::string::npos)
        sentence = fullText.substr(0, close + closing.size());
    else
        sentence += closing;
}
