#include "modules/standard/CppProject.h"

#include "modules/standard/DocCppClass.h"

CppProject::CppProject(const std::string& projectName, const std::string& summaryText,
                       const DocOptions& projectOptions)
    : CppClassEntity(projectOptions) {
    setName(projectName);
    setComment(summaryText);
}

CppProject::~CppProject() = default;

std::string CppProject::getPageFile(const std::string& prefix) const {
    return prefix + projectDirectoryName(name) + "/project-summary.html";
}
