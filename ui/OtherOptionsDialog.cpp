#include "ui/OtherOptionsDialog.h"

#include <vector>

#include "VelkLib/VelkError.h"
#include "VelkLib/VelkString.h"
#include "platform/gui/Backend.h"
#include "run/SourceListingSettings.h"
#include "ui/SecondaryDialogTemplates.h"
#include "ui/SyntaxColoringDialog.h"
#include "ui/ToolTips.h"

using namespace ui;

namespace {

// The character at index as a text; "" beyond the end.
std::string characterAt(const std::string& text, std::size_t index) {
    return index < text.size() ? text.substr(index, 1) : "";
}

std::string repeated(const std::string& text, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) out += text;
    return out;
}

// Pieces of a multi-line text between line breaks and the extra
// separators (a lone "\n" counts too: that is what a text box gives).
std::vector<std::string> linesOf(const std::string& text, const char* separators) {
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\r' || c == '\n' || std::string(separators).find(c) != std::string::npos) {
            lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    lines.push_back(current);
    return lines;
}

// The colours as the settings and the Syntax Coloring dialog hold them.
struct ColorPair {
    std::string SyntaxColorSettings::*setting;
    std::string SyntaxColoringDialog::*shown;
};
const ColorPair colorPairs[] = {
    {&SyntaxColorSettings::comment, &SyntaxColoringDialog::commentColor},
    {&SyntaxColorSettings::keyword, &SyntaxColoringDialog::keywordColor},
    {&SyntaxColorSettings::userKeyword, &SyntaxColoringDialog::userKeywordColor},
    {&SyntaxColorSettings::string, &SyntaxColoringDialog::stringColor},
    {&SyntaxColorSettings::number, &SyntaxColoringDialog::numberColor},
    {&SyntaxColorSettings::op, &SyntaxColoringDialog::operatorColor},
    {&SyntaxColorSettings::separator, &SyntaxColoringDialog::parenColor},
};

// The mapping boxes, in the order they are read back: later entries win.
struct MappingBox {
    int edit;
    std::string OtherOptionsDialog::*text;
    int language;
};
const MappingBox mappingBoxes[] = {
    {IDC_OTHER_CPP_MAP, &OtherOptionsDialog::cppMapText, 0},
    {IDC_OTHER_JAVA_MAP, &OtherOptionsDialog::javaMapText, 2},
    {IDC_OTHER_CSHARP_MAP, &OtherOptionsDialog::csharpMapText, 1},
};

// The one-character boxes, with the control that shows each.
struct CharacterBox {
    int edit;
    std::string OtherOptionsDialog::*text;
};
const CharacterBox characterBoxes[] = {
    {IDC_OTHER_BLOCK_START, &OtherOptionsDialog::blockStartChar},
    {IDC_OTHER_BLOCK_MIDDLE, &OtherOptionsDialog::blockMiddleChar},
    {IDC_OTHER_LINE_START, &OtherOptionsDialog::lineStartChar},
    {IDC_OTHER_LINE_MIDDLE, &OtherOptionsDialog::lineMiddleChar},
    {IDC_OTHER_LINE_END, &OtherOptionsDialog::lineEndChar},
};

void showError(const std::string& text) {
    gui::messageBox(text, "Vantry", gui::Buttons::Ok, gui::Icon::Error);
}

}  // namespace

OtherOptionsDialog::OtherOptionsDialog(const DocCommentFormat& format)
    : CDialog(otherOptionsDialogTemplate), commentFormat(format) {
    std::string texts[6] = {format.getPrimaryStart(),   format.getPrimaryMiddle(),
                            format.getPrimaryEnd(),     format.getSecondaryStart(),
                            format.getSecondaryMiddle(), format.getSecondaryEnd()};
    if (characterAt(texts[0], 1) == "/")
        for (int i = 0; i < 3; ++i) std::swap(texts[i], texts[i + 3]);
    useBlockStyle = characterAt(texts[0], 1) == "*" ? 1 : 0;
    useLineStyle = characterAt(texts[3], 1) == "/" ? 1 : 0;
    if (useBlockStyle != 0) {
        blockStartChar = characterAt(texts[0], 2);
        blockMiddleChar = texts[1];
    } else {
        blockStartChar = "*";
        blockMiddleChar = "*";
    }
    if (useLineStyle != 0) {
        lineStartChar = characterAt(texts[3], 2);
        lineMiddleChar = texts[4].size() > 2 ? characterAt(texts[4], 2) : "";
        lineEndChar = characterAt(texts[5], 2);
    } else {
        lineStartChar = "=";
        lineMiddleChar = "";
        lineEndChar = "=";
    }
}

void OtherOptionsDialog::DoDataExchange(gui::CDataExchange& dx) {
    gui::DDX_Text(dx, IDC_OTHER_DETAIL_DIR, detailDirectory);
    gui::DDX_Check(dx, IDC_OTHER_INCLUDE_CONST, includeConst);
    for (const CharacterBox& box : characterBoxes) gui::DDX_Text(dx, box.edit, this->*box.text);
    gui::DDX_Check(dx, IDC_OTHER_USE_BLOCK, useBlockStyle);
    gui::DDX_Check(dx, IDC_OTHER_USE_LINE, useLineStyle);
    gui::DDX_Text(dx, IDC_OTHER_BLOCK_EXAMPLE, blockExample);
    gui::DDX_Text(dx, IDC_OTHER_LINE_EXAMPLE, lineExample);
    gui::DDX_Check(dx, IDC_OTHER_NAMESPACES_GLOBAL, namespacesGlobal);
    for (const MappingBox& box : mappingBoxes) gui::DDX_Text(dx, box.edit, this->*box.text);
    gui::DDX_Check(dx, IDC_OTHER_INCLUDE_ANONYMOUS, includeAnonymous);
    gui::DDX_Text(dx, IDC_OTHER_ADDITIONAL_HEADER, additionalHeader);
    gui::DDX_Check(dx, IDC_OTHER_SYNTAX_COLORING, useSyntaxColoring);
    gui::DDX_Check(dx, IDC_OTHER_MIX_CPP_CSHARP, mixCppCSharp);
    // The tab size is checked by OnOK: until then the box keeps what was typed.
    if (!dx.m_bSaveAndValidate) tabSizeText = std::to_string(tabSize);
    gui::DDX_Text(dx, IDC_OTHER_TAB_SIZE, tabSizeText);
    gui::DDX_Check(dx, IDC_OTHER_DISABLE_TOOLTIPS, disableToolTips);
    gui::DDX_Check(dx, IDC_OTHER_DOCUMENT_PREPROCESSOR, documentPreprocessor);
}

bool OtherOptionsDialog::OnInitDialog() {
    for (const MappingBox& box : mappingBoxes) {
        std::string& text = this->*box.text;
        text.clear();
        for (const auto& [extension, language] : languageMap) {
            if (language != box.language) continue;
            if (!text.empty()) text += "\r\n";
            text += extension;
        }
    }
    CDialog::OnInitDialog();
    EnableToolTips(true);
    updateExample();
    return true;
}

bool OtherOptionsDialog::OnToolTipNeedText(int id, std::string& text) {
    return ui::onToolTipNeedText(id, text);
}

void OtherOptionsDialog::updateExample() {
    UpdateData(true);
    bool block = useBlockStyle != 0;
    bool line = useLineStyle != 0;
    for (int id : {IDC_OTHER_BLOCK_START, IDC_OTHER_BLOCK_MIDDLE, IDC_OTHER_BLOCK_EXAMPLE})
        EnableControl(id, block);
    for (int id : {IDC_OTHER_LINE_START, IDC_OTHER_LINE_MIDDLE, IDC_OTHER_LINE_END,
                   IDC_OTHER_LINE_EXAMPLE})
        EnableControl(id, line);

    bool blockComplete = !blockStartChar.empty() && !blockMiddleChar.empty();
    blockExample.clear();
    if (blockComplete) {
        const std::string& s = blockStartChar;
        const std::string& m = blockMiddleChar;
        blockExample = "/*" + s + "\r\n " + m + " Example.\r\n */\r\n\r\n" + "/*" + repeated(s, 9) +
                       "\r\n " + m + " Example.\r\n " + repeated(s, 9) + "*/";
    }
    bool lineComplete = !lineStartChar.empty() && !lineEndChar.empty();
    lineExample.clear();
    if (lineComplete) {
        const std::string& s = lineStartChar;
        const std::string& m = lineMiddleChar;
        const std::string& e = lineEndChar;
        lineExample = "//" + s + "\r\n//" + m + " Example.\r\n//" + e + "\r\n\r\n" + "//" +
                      repeated(s, 10) + "\r\n//" + m + " Example.\r\n//" + repeated(e, 10);
    }
    SetDlgItemText(IDC_OTHER_BLOCK_EXAMPLE, blockExample);
    SetDlgItemText(IDC_OTHER_LINE_EXAMPLE, lineExample);

    EnableControl(IDC_OTHER_COLORS, useSyntaxColoring != 0);
    EnableControl(gui::IDOK, (block || line) && (!block || blockComplete) && (!line || lineComplete));
}

std::string OtherOptionsDialog::formatText() const {
    std::string blockPart = "/*" + blockStartChar + ";" + blockMiddleChar + ";*/";
    std::string linePart = "//" + lineStartChar + ";//" + lineMiddleChar + ";//" + lineEndChar;
    if (useBlockStyle != 0 && useLineStyle != 0) return blockPart + ";" + linePart;
    return useBlockStyle != 0 ? blockPart : linePart;
}

void OtherOptionsDialog::OnOK() {
    UpdateData(true);
    int size = 0;
    bool digits = !tabSizeText.empty() && tabSizeText.size() <= 2;
    for (char c : tabSizeText) digits = digits && c >= '0' && c <= '9';
    if (digits) size = std::stoi(tabSizeText);
    if (size < kTabSizeSettingMin || size > kTabSizeSettingMax) {
        GotoDlgCtrl(IDC_OTHER_TAB_SIZE);
        showError("Please enter an integer between 1 and 99.");
        return;
    }
    for (const CharacterBox& box : characterBoxes) {
        if ((this->*box.text).size() > 1) {
            GotoDlgCtrl(box.edit);
            showError("Please enter no more than 1 character.");
            return;
        }
    }
    try {
        commentFormat.parse(formatText());
    } catch (const VelkError& error) {
        showError(error.getMessage());
        return;
    }
    tabSize = size;

    languageMap.clear();
    for (const MappingBox& box : mappingBoxes) {
        for (std::string entry : linesOf(this->*box.text, ",")) {
            std::size_t dot = entry.find('.');
            if (dot != std::string::npos && dot + 1 < entry.size()) entry = entry.substr(dot + 1);
            entry = VelkString(entry).trim();
            if (!entry.empty()) languageMap[entry] = box.language;
        }
    }
    EndDialog(gui::IDOK);
}

bool OtherOptionsDialog::OnCommand(int id, unsigned notification) {
    bool typed = notification == gui::EN_CHANGE &&
                 (id == IDC_OTHER_BLOCK_START || id == IDC_OTHER_BLOCK_MIDDLE ||
                  id == IDC_OTHER_LINE_START || id == IDC_OTHER_LINE_MIDDLE || id == IDC_OTHER_LINE_END);
    bool clicked = notification == gui::BN_CLICKED &&
                   (id == IDC_OTHER_USE_BLOCK || id == IDC_OTHER_USE_LINE || id == IDC_OTHER_SYNTAX_COLORING);
    if (typed || clicked) {
        updateExample();
        return true;
    }
    if (id == IDC_OTHER_COLORS && notification == gui::BN_CLICKED) {
        editSyntaxColors();
        return true;
    }
    return CDialog::OnCommand(id, notification);
}

void OtherOptionsDialog::editSyntaxColors() {
    UpdateData(true);
    SyntaxColoringDialog colors;
    SyntaxColorSettings& c = syntaxColors;
    for (const ColorPair& pair : colorPairs) colors.*pair.shown = c.*pair.setting;
    for (const std::string& keyword : c.userKeywords) {
        if (!colors.userKeywordsText.empty()) colors.userKeywordsText += "\r\n";
        colors.userKeywordsText += keyword;
    }
    if (colors.DoModal() != gui::IDOK) return;
    for (const ColorPair& pair : colorPairs) c.*pair.setting = colors.*pair.shown;
    c.userKeywords.clear();
    for (const std::string& keyword : linesOf(colors.userKeywordsText, ""))
        if (!keyword.empty()) c.userKeywords.insert(keyword);
}
