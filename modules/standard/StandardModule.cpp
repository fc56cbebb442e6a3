#include "modules/standard/StandardModule.h"

#include "VelkLib/VelkTokenizer.h"
#include "model/ModelText.h"
#include "modules/standard/DocClassList.h"
#include "modules/standard/DocCppClass.h"
#include "modules/common/DocText.h"
#include "modules/common/ModuleText.h"

StandardModule::StandardModule() : classList(std::make_unique<DocClassList>(&statusReceiver)) {}

// The current class goes before the list, so nothing it might point into
// is gone first.
StandardModule::~StandardModule() {
    currentClass.reset();
    classList.reset();
}

void readProjectList(StandardModule& module, const std::string& text) {
    VelkTokenizer lines(text, "\n");
    while (lines.hasMoreTokens()) {
        std::string line = lines.nextToken('\0', '\\');
        std::vector<std::string> fields = splitListFields(line);
        std::string name = fields.size() > 0 ? fields[0] : "";
        std::string directory = fields.size() > 1 ? fields[1] : "";
        if (name.empty() || directory.empty()) continue;
        if (directory.back() == '/' || directory.back() == '\\') directory.pop_back();
        module.projectMap[name] = directory;
        if (module.firstProjectDirectory.empty()) module.firstProjectDirectory = directory;
    }
}

InputRoots projectDirectoryRoots(const StandardModule& module) {
    InputRoots roots;
    for (const auto& [name, directory] : module.projectMap) roots.add(directory);
    return roots;
}

void initModule(StandardModule& module, const ModuleInitValues& v) {
    // Plain texts of the user's, shown in titles, headings and bars: escaped
    // once here, so that no page writer can let a quote or "<" through.
    module.documentTitle = escapeHtml(v.title);
    module.companyName = escapeHtml(v.company);
    module.detailDirectory = v.detailDirectory;
    module.treeListing = v.treeListing;
    module.extraHeadText = v.extraHead;
    module.headerText = v.header;
    module.footerText = v.footer;
    module.itemTemplate = v.itemTemplate;
    module.sourceDirectoryText = v.sourceDirectory;
    module.outputFile = v.outputFile;
    module.projectListText = v.projectList;
    module.writeDetailPages = v.writeDetailPages;
    module.lineBreaks = v.lineBreaks;
    module.projectMap.clear();
    module.firstProjectDirectory.clear();
    module.currentClass.reset();
    module.classList->clear();
    module.statusReceiver.install(v.progress, v.status, v.error, v.context);
    module.options.dotScope = v.dotScope;
    readProjectList(module, v.projectList);
    // Names in comments and declarations are resolved through the imports
    // of the sources in the projects' directories.
    module.classList->setSourceRoots(projectDirectoryRoots(module));
}

void startClassRecord(StandardModule& module, const std::string& name,
                      const std::string& comment, const std::string& baseList,
                      const std::string& fileNames, const std::string& package,
                      const std::string& kind, const std::string& container,
                      const std::string& sourceDirectory, const std::string& language) {
    module.currentClass = std::make_unique<DocCppClass>(module.classList.get(), module.options,
                                                        languageFromText(language));
    DocCppClass& cls = *module.currentClass;
    cls.setName(name);
    cls.setComment(receivedComment(comment, cls.getLanguage()));
    setBasesFromText(cls, baseList);
    setFileNamesFromText(cls, fileNames);
    cls.setPackage(package);
    cls.setKind(kind);
    cls.setText(container);
    cls.setSourceDirectory(sourceDirectory);
    std::string line2 = "Receiving " + kindAndName(cls) + "...";
    module.statusReceiver.message(nullptr, line2.c_str());
}

void startMemberRecord(StandardModule& module, const std::string& name,
                       const std::string& comment, const std::string& access,
                       const std::string& declaration, bool hasArguments,
                       const std::string& fileNames, const std::vector<std::string>& arguments) {
    DocCppClass* cls = module.currentClass.get();
    if (!cls) return;
    // The comment is copied only when something is changed in it.
    std::string changed;
    const std::string* text = &comment;
    if (isXmlDocLanguage(cls->getLanguage())) {
        changed = xmlDocAsTags(comment);
        text = &changed;
    }
    if (module.options.fileLinksForGlobals && isGlobalsClassName(cls->getName())) {
        if (text != &changed) changed = comment;
        if (!changed.empty()) changed += "\r\n<br>";
        changed += "See {@file1}.";
        text = &changed;
    }
    CppClassMember* kept = cls->addMember(name, declaration, access, *text, hasArguments, "",
                                          arguments, new DocCppClassMember(cls), false);
    if (kept) setFileNamesFromText(*kept, fileNames);
}

void endClassRecord(StandardModule& module) {
    if (!module.currentClass) return;
    module.classList->addClass(module.currentClass.release());
}
